# Sourced by the scripts that make test certificates with openssl, into
# $work: a CA and the certificates it issues. Every certificate lasts ten
# years and is signed with SHA-256.

# WORK/NAME.{crt,key}: a CA named SUBJECT (a CN), with a BITS-bit RSA key.
make_ca() {  # NAME SUBJECT [BITS]
  openssl req -x509 -newkey "rsa:${3:-2048}" -nodes -days 3650 -sha256 \
    -keyout "$work/$1.key" -out "$work/$1.crt" -subj "/CN=$2" \
    -addext "basicConstraints=critical,CA:TRUE" \
    -addext "keyUsage=critical,keyCertSign,cRLSign" 2>/dev/null
}

# WORK/NAME.{crt,key}: a certificate for SUBJECT (a full subject name) that
# the CA WORK/ISSUER.{crt,key} signs, with the extensions given one per
# argument after the key size.
issue_certificate() {  # NAME SUBJECT ISSUER BITS EXTENSION...
  local name=$1 subject=$2 issuer=$3 bits=$4
  shift 4
  openssl req -newkey "rsa:$bits" -nodes -sha256 -subj "$subject" \
    -keyout "$work/$name.key" -out "$work/$name.csr" 2>/dev/null
  printf '%s\n' "$@" >"$work/$name.ext"
  openssl x509 -req -in "$work/$name.csr" -CA "$work/$issuer.crt" -CAkey "$work/$issuer.key" \
    -CAcreateserial -days 3650 -sha256 -extfile "$work/$name.ext" -out "$work/$name.crt" 2>/dev/null
}

# A code signing certificate: what Authenticode signers carry.
issue_code_signing_certificate() {  # NAME SUBJECT ISSUER [BITS]
  issue_certificate "$1" "$2" "$3" "${4:-2048}" "basicConstraints=critical,CA:FALSE" \
    "keyUsage=critical,digitalSignature" "extendedKeyUsage=codeSigning"
}
