#!/usr/bin/env python3
"""Links a program with link-time optimisation so that it takes from the
static libraries only what the optimised code calls.

In one link, ld chooses the members of libstdc++ from the symbol tables of
the objects as they are before optimisation. Protocol Buffers' runtime names
stream and locale functions there that no optimised function calls, and
their members (most of libstdc++) stay in the program: --gc-sections cannot
drop them, as the linker keeps every function's unwind table and through it
the function. Worse, the optimiser then keeps the program's own copies of
templates those members use, and the copies name more of them.

So the link runs twice:
1. The optimising link: the link as given, but through the C driver, which
   links no C++ runtime. Every symbol of the program is then resolved
   against the program itself, the C runtime and the system, and the code
   generated (kept with -save-temps) holds only what the program reaches.
   The link itself fails on the C++ runtime's symbols; any other failure is
   reported as it is.
2. The ordinary link of that code, with the inputs that held no link-time
   bytecode, through the C++ driver as given: it takes only the members the
   optimised code names, and fails on a symbol nothing defines as any link
   would.
Three checks make what the first link cannot see fail loudly:
- a definition of the program that replaces one of the C++ runtime's (a
  terminate handler, an operator new) must come out of the optimiser
  global, else the second link would take the runtime's silently: mark it
  __attribute__((externally_visible));
- no weak reference may be left empty in the program: it would read as
  absent at run time;
- the optimising link fails on undefined references to the C++ runtime
  only.

CMake runs it as the target's link launcher (RULE_LAUNCH_LINK). The binary
tools and the C driver are taken from the compiler's name
(x86_64-w64-mingw32-g++-posix: x86_64-w64-mingw32-gcc-posix, -ar, -nm,
-objdump):
    link_optimised_code_first.py COMMAND...
Commands other than a link with -flto run unchanged.
"""

import glob
import os
import re
import shlex
import subprocess
import sys
import tempfile

LTO_MARK = b".gnu.lto_"


def fail(message):
    sys.exit(f"link_optimised_code_first: {message}")


def output_of(command):
    return subprocess.run(command, check=True, capture_output=True, text=True).stdout


def expand_response_files(arguments):
    expanded = []
    for argument in arguments:
        if argument.startswith("@") and os.path.isfile(argument[1:]):
            with open(argument[1:]) as response:
                expanded += shlex.split(response.read())
        else:
            expanded.append(argument)
    return expanded


def holds_bytecode(path):
    with open(path, "rb") as f:
        return LTO_MARK in f.read()


def is_input(argument):
    return not argument.startswith("-") and os.path.splitext(argument)[1] in (".o", ".obj", ".a")


class Toolchain:
    def __init__(self, compiler):
        parts = re.match(r"(.*-)?(g\+\+|c\+\+)(-[^-]*)?$", os.path.basename(compiler))
        if not parts:
            fail(f"cannot tell the C driver and binary tools of {compiler}")
        folder, prefix = os.path.dirname(compiler), parts.group(1) or ""
        self.cxx = compiler
        self.cc = os.path.join(folder, prefix + "gcc" + (parts.group(3) or ""))
        self.ar, self.nm, self.objdump = (os.path.join(folder, prefix + tool) for tool in ("ar", "nm", "objdump"))

    def members(self, archive, folder):
        """Extracts ARCHIVE into FOLDER and returns its members' paths in order."""
        names = output_of([self.ar, "t", archive]).split()
        if len(set(names)) != len(names):
            fail(f"{archive} holds two members of one name")
        subprocess.run([self.ar, "x", os.path.abspath(archive)], check=True, cwd=folder)
        return [os.path.join(folder, name) for name in names]

    def global_definitions(self, *files):
        listing = output_of([self.nm, "-g", "--defined-only", *files])
        return {fields[2] for fields in map(str.split, listing.splitlines())
                if len(fields) == 3 and fields[1] in "TDBR"}

    def unresolved_weak_references(self, image):
        return {line.split()[-1] for line in output_of([self.nm, image]).splitlines() if re.match(r"\s*[wv] ", line)}

    def cxx_runtime(self):
        return output_of([self.cxx, "-print-file-name=libstdc++.a"]).strip()

    def cxx_runtime_replaceable(self):
        """What the C++ runtime defines once (not as link-once copies of templates)."""
        link_once = set(re.findall(r"\(COMDAT (\S+) \d+\)", output_of([self.objdump, "-h", self.cxx_runtime()])))
        return self.global_definitions(self.cxx_runtime()) - link_once


def split_inputs(tools, arguments, folder):
    """ARGUMENTS without the inputs that hold bytecode, None in the place of
    the first, and the inputs that hold bytecode. Of an archive linked whole,
    the members without bytecode stay (resources, for one)."""
    ordinary, optimised, whole_archive = [], [], False
    for argument in arguments:
        if argument.startswith("-flto"):
            continue
        if argument in ("-Wl,--whole-archive", "-Wl,--no-whole-archive"):
            whole_archive = argument == "-Wl,--whole-archive"
            continue
        if not is_input(argument):
            ordinary.append(argument)
            continue
        for member in tools.members(argument, folder) if whole_archive else [argument]:
            if not holds_bytecode(member):
                ordinary.append(member)
            else:
                if not optimised:
                    ordinary.append(None)
                optimised.append(member)
    return ordinary, optimised


def with_output(arguments, output, strip=True):
    """ARGUMENTS writing OUTPUT, stripped or not, and no import library."""
    changed, skip = [], False
    for argument in arguments:
        if skip:
            skip = False
        elif argument == "-o":
            changed += ["-o", output]
            skip = True
        elif (argument != "-s" or strip) and not argument.startswith("-Wl,--out-implib"):
            changed.append(argument)
    return changed


def optimise(tools, arguments, folder):
    """Runs the optimising link and returns the code it generated."""
    done = subprocess.run([tools.cc, *with_output(arguments, os.path.join(folder, "whole.exe"), strip=False),
                           "-save-temps", "-Wl,--no-demangle"], capture_output=True, text=True)
    undefined, other = set(), []
    for line in done.stderr.splitlines():
        symbol = re.search(r"undefined references? to `([^']+)'", line)
        if symbol:
            undefined.add(symbol.group(1))
        elif not re.search(r": in function `[^']*':$|^collect2: error: ld returned 1 exit status$", line):
            other.append(line)
    if other or undefined - tools.global_definitions(tools.cxx_runtime()):
        sys.stderr.write(done.stderr)
        fail("the optimising link failed")
    code = glob.glob(os.path.join(folder, "whole.ltrans*.ltrans.o"))
    if not code:
        sys.stderr.write(done.stderr)
        fail("the optimising link generated no code")
    return sorted(code, key=lambda path: int(re.search(r"ltrans(\d+)\.ltrans\.o$", path).group(1)))


def run(command, what):
    if subprocess.run(command).returncode != 0:
        fail(f"the {what} failed")


def main():
    command = sys.argv[1:]
    if "-flto" not in command or "-o" not in command:
        os.execvp(command[0], command)
    tools = Toolchain(command[0])
    arguments = expand_response_files(command[1:])
    with tempfile.TemporaryDirectory(prefix="link-") as folder:
        members = os.path.join(folder, "members")
        os.mkdir(members)
        ordinary, bytecode = split_inputs(tools, arguments, members)
        code = optimise(tools, arguments, folder)

        lost = (tools.global_definitions(*bytecode) & tools.cxx_runtime_replaceable()) - tools.global_definitions(*code)
        if lost:
            fail("these replace the C++ runtime's definitions but the optimiser did not keep them global "
                 "(mark them __attribute__((externally_visible))): " + ", ".join(sorted(lost)))
        second = [p for a in ordinary for p in (code if a is None else [a])]
        check = os.path.join(folder, "check.exe")
        run([tools.cxx, *with_output(second, check, strip=False)], "link of the optimised code")
        empty = tools.unresolved_weak_references(check)
        if empty:
            fail("weak references left empty: " + ", ".join(sorted(empty)))
        sys.exit(subprocess.run([tools.cxx, *second]).returncode)


if __name__ == "__main__":
    main()
