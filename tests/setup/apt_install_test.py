#!/usr/bin/env python3
"""scripts/lib/apt.sh against a fake apt-get that fails the way a mirror in
the middle of a sync does: one index of the security suite has the wrong
size, and without it the i386 packages only resolve against the main suite."""

import os
import stat
import subprocess
import tempfile
import textwrap
import unittest
from pathlib import Path

LIBRARY = Path(__file__).resolve().parents[2] / "scripts" / "lib" / "apt.sh"

# The fake: `update` fails while MIRROR_BROKEN is set, as the mirror did;
# `install` of an i386 package fails unless the security suite is ranked down
# through a preferences file, or always when I386_UNRESOLVABLE is set; the
# package UNAVAILABLE names is never found.
FAKE_APT_GET = r"""#!/usr/bin/env bash
echo "$*" >>"$CALLS"
case " $* " in
  *" update "*)
    if [ -n "${MIRROR_BROKEN:-}" ]; then
      echo "E: Failed to fetch http://mirror.test/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress?"
      echo "E: Some index files failed to download. They have been ignored, or old ones used instead."
      exit 100
    fi
    exit 0 ;;
esac
preferences=
for arg; do
  case $arg in Dir::Etc::Preferences=*) preferences=${arg#*=} ;; esac
done
for arg; do
  if [ "$arg" = "${UNAVAILABLE:-}" ]; then
    echo "E: Unable to locate package $arg"
    exit 100
  fi
  [[ $arg == *:i386 ]] || continue
  if [ -n "${I386_UNRESOLVABLE:-}" ] || { [ -n "${MIRROR_BROKEN:-}" ] && ! grep -q 'n=bookworm-security' "$preferences" 2>/dev/null; }; then
    echo " libssl3:i386 : Depends: ... but it is not going to be installed"
    echo "E: Unable to correct problems, you have held broken packages."
    exit 100
  fi
done
echo "installed: $*" >>"$INSTALLED"
"""


class AptInstallTest(unittest.TestCase):
    def setUp(self):
        scratch = tempfile.TemporaryDirectory()
        self.addCleanup(scratch.cleanup)
        self.dir = Path(scratch.name)
        fake = self.dir / "apt-get"
        fake.write_text(FAKE_APT_GET)
        fake.chmod(fake.stat().st_mode | stat.S_IEXEC)
        self.calls = self.dir / "calls"
        self.installed = self.dir / "installed"

    def run_setup(self, packages, **env):
        script = textwrap.dedent(f"""\
            set -euo pipefail
            . '{LIBRARY}'
            apt_update
            apt_install_packages {' '.join(packages)}
            echo "skipped: ${{apt_skipped_packages[*]}}"
            """)
        environment = dict(os.environ, PATH=f"{self.dir}:{os.environ['PATH']}", CALLS=str(self.calls),
                           INSTALLED=str(self.installed), APT_RETRY_WAIT="0", **env)
        return subprocess.run(["bash", "-c", script], env=environment, capture_output=True, text=True)

    def lines(self, path):
        return path.read_text().splitlines() if path.exists() else []

    def test_a_healthy_mirror_installs_at_once(self):
        done = self.run_setup(["wine64", "wine32:i386"])
        self.assertEqual(done.returncode, 0, done.stderr)
        self.assertEqual(self.lines(self.calls)[0], "update -qq")
        self.assertEqual(len(self.lines(self.calls)), 2)
        self.assertIn("skipped: \n", done.stdout)
        self.assertEqual(done.stderr, "")

    def test_a_failed_index_is_retried_then_its_suite_ranked_down_for_the_install(self):
        done = self.run_setup(["wine64", "wine32:i386"], MIRROR_BROKEN="1")
        self.assertEqual(done.returncode, 0, done.stderr)
        calls = self.lines(self.calls)
        self.assertEqual(calls[:3], ["update -qq"] * 3)
        self.assertNotIn("Dir::Etc::Preferences", calls[3])
        self.assertIn("Dir::Etc::Preferences=", calls[4])
        self.assertEqual(len(self.lines(self.installed)), 1)
        self.assertIn("wine32:i386", self.lines(self.installed)[0])
        self.assertIn("skipped: \n", done.stdout)
        self.assertIn("binary-i386/Packages.xz  File has unexpected size", done.stderr)
        self.assertIn("with bookworm-security ranked below the complete suites", done.stderr)

    def test_i386_packages_that_never_resolve_are_left_out_and_named(self):
        done = self.run_setup(["wine64", "wine32:i386"], MIRROR_BROKEN="1", I386_UNRESOLVABLE="1")
        self.assertEqual(done.returncode, 0, done.stderr)
        self.assertEqual(self.lines(self.installed), ["installed: install -y -qq --no-install-recommends wine64"])
        self.assertIn("skipped: wine32:i386", done.stdout)
        self.assertIn("could not install wine32:i386: the i686 build will be neither built nor run", done.stderr)

    def test_a_native_package_that_cannot_be_installed_fails_naming_the_failed_index(self):
        done = self.run_setup(["tinyproxy", "wine32:i386"], MIRROR_BROKEN="1", UNAVAILABLE="tinyproxy")
        self.assertNotEqual(done.returncode, 0)
        self.assertIn("could not install the packages: tinyproxy wine32:i386", done.stderr)
        self.assertIn("Unable to locate package tinyproxy", done.stderr)
        self.assertEqual(self.lines(self.installed), [])
        self.assertIn("the package lists of bookworm-security could not be fetched", done.stderr)


if __name__ == "__main__":
    unittest.main()
