#!/usr/bin/env python3
"""scripts/derive-source-entries against made-up package source directories."""

import os
import subprocess
import sys
import tempfile
import textwrap
import unittest
from pathlib import Path

SCRIPT = os.path.join(os.path.dirname(__file__), "..", "..", "scripts", "derive-source-entries")

DEBIAN_SOURCES = """\
Types: deb
# a comment apt ignores
URIs: http://mirror.internal/debian
Suites: bookworm bookworm-updates
Components: main contrib
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb
URIs: http://mirror.internal/debian-security
Suites: bookworm-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
"""


class DeriveSourceEntriesTest(unittest.TestCase):
    def setUp(self):
        self.scratch = tempfile.TemporaryDirectory()
        self.apt = self.scratch.name
        os.makedirs(os.path.join(self.apt, "sources.list.d"))

    def tearDown(self):
        self.scratch.cleanup()

    def write(self, name, text):
        Path(self.apt, name).write_text(textwrap.dedent(text))

    def read(self, name):
        path = Path(self.apt, "sources.list.d", name)
        return path.read_text() if path.exists() else None

    def run_script(self, *options):
        done = subprocess.run(
            [sys.executable, SCRIPT, "--apt-dir", self.apt, "--codename", "bookworm",
             "--name", "protobuf-source", *options],
            check=True, capture_output=True, text=True)
        return done.stdout.split()

    def test_deb822_stanzas_become_source_stanzas_with_their_own_mirror_and_key(self):
        self.write("sources.list.d/debian.sources", DEBIAN_SOURCES)
        changed = self.run_script()
        self.assertEqual(changed, [os.path.join(self.apt, "sources.list.d", "protobuf-source.sources")])
        self.assertEqual(self.read("protobuf-source.sources"), textwrap.dedent("""\
            Types: deb-src
            URIs: http://mirror.internal/debian
            Suites: bookworm bookworm-updates
            Components: main contrib
            Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

            Types: deb-src
            URIs: http://mirror.internal/debian-security
            Suites: bookworm-security
            Components: main
            Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
            """))
        self.assertIsNone(self.read("protobuf-source.list"))

    def test_one_line_entries_keep_their_options(self):
        self.write("sources.list", """\
            # the release, through a caching proxy
            deb [arch=amd64 signed-by=/etc/keys/debian.gpg] http://proxy:3142/debian bookworm main
            deb\thttp://proxy:3142/debian-security bookworm-security main
            """)
        self.run_script()
        self.assertEqual(self.read("protobuf-source.list"),
                         "deb-src [arch=amd64 signed-by=/etc/keys/debian.gpg] "
                         "http://proxy:3142/debian bookworm main\n"
                         "deb-src http://proxy:3142/debian-security bookworm-security main\n")
        self.assertIsNone(self.read("protobuf-source.sources"))

    def test_other_repositories_disabled_stanzas_and_other_releases_are_left_out(self):
        self.write("sources.list.d/vendor.list", "deb https://vendor.test/apt cloud-sdk-bookworm main\n")
        self.write("sources.list.d/node.sources", """\
            Types: deb
            URIs: https://node.test/node_20.x
            Suites: nodistro
            Components: main
            """)
        self.write("sources.list.d/old.sources", """\
            Enabled: no
            Types: deb
            URIs: http://mirror.internal/debian
            Suites: bookworm-backports
            Components: main
            """)
        self.write("sources.list.d/mixed.sources", """\
            Types: deb
            URIs: http://mirror.internal/debian
            Suites: trixie bookworm
            Components: main
            """)
        self.write("sources.list.d/debian.sources.disabled", DEBIAN_SOURCES)
        self.run_script()
        self.assertEqual(self.read("protobuf-source.sources"), textwrap.dedent("""\
            Types: deb-src
            URIs: http://mirror.internal/debian
            Suites: bookworm
            Components: main
            """))
        self.assertIsNone(self.read("protobuf-source.list"))

    def test_a_key_written_into_the_stanza_is_kept_whole(self):
        self.write("sources.list.d/debian.sources", """\
            Types: deb
            URIs: http://mirror.internal/debian
            Suites: bookworm
            Components: main
            Signed-By:
             -----BEGIN PGP PUBLIC KEY BLOCK-----
             .
             mQINBGPL
             -----END PGP PUBLIC KEY BLOCK-----
            """)
        self.run_script()
        self.assertEqual(self.read("protobuf-source.sources"), textwrap.dedent("""\
            Types: deb-src
            URIs: http://mirror.internal/debian
            Suites: bookworm
            Components: main
            Signed-By:
             -----BEGIN PGP PUBLIC KEY BLOCK-----
             .
             mQINBGPL
             -----END PGP PUBLIC KEY BLOCK-----
            """))

    def test_a_second_run_changes_nothing(self):
        self.write("sources.list.d/debian.sources", DEBIAN_SOURCES)
        self.write("sources.list", "deb http://mirror.internal/debian bookworm main\n")
        self.run_script()
        written = (self.read("protobuf-source.sources"), self.read("protobuf-source.list"))
        self.assertEqual(self.run_script(), [])
        self.assertEqual((self.read("protobuf-source.sources"), self.read("protobuf-source.list")), written)

    def test_existing_source_entries_make_ours_unnecessary(self):
        self.write("sources.list.d/protobuf-source.sources", "Types: deb-src\nURIs: http://old.test/debian\n"
                   "Suites: bookworm\nComponents: main\n")
        self.write("sources.list", "deb http://mirror.internal/debian bookworm main\n"
                   "deb-src http://mirror.internal/debian bookworm main\n")
        changed = self.run_script()
        self.assertEqual(changed, [os.path.join(self.apt, "sources.list.d", "protobuf-source.sources")])
        self.assertIsNone(self.read("protobuf-source.sources"))
        self.assertIsNone(self.read("protobuf-source.list"))

    def test_a_fixed_host_written_before_is_replaced_by_the_machine_s_mirror(self):
        self.write("sources.list.d/protobuf-source.sources", "Types: deb-src\nURIs: http://deb.debian.org/debian\n"
                   "Suites: bookworm bookworm-updates\nComponents: main\n")
        self.write("sources.list", "deb http://mirror.internal/debian bookworm main\n")
        self.run_script()
        self.assertIsNone(self.read("protobuf-source.sources"))
        self.assertEqual(self.read("protobuf-source.list"), "deb-src http://mirror.internal/debian bookworm main\n")

    def test_backports_come_from_the_release_s_own_entries_unless_the_machine_has_them(self):
        self.write("sources.list.d/debian.sources", DEBIAN_SOURCES)
        self.write("sources.list", "deb [arch=amd64] http://proxy:3142/debian bookworm main\n"
                   "deb http://proxy:3142/debian-security bookworm-security main\n")
        self.run_script("--backports")
        self.assertEqual(self.read("protobuf-source.sources"), textwrap.dedent("""\
            Types: deb
            URIs: http://mirror.internal/debian
            Suites: bookworm-backports
            Components: main contrib
            Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
            """))
        self.assertEqual(self.read("protobuf-source.list"),
                         "deb [arch=amd64] http://proxy:3142/debian bookworm-backports main\n")
        self.assertEqual(self.run_script("--backports"), [])

        self.write("sources.list.d/backports.list", "deb http://mirror.internal/debian bookworm-backports main\n")
        self.run_script("--backports")
        self.assertIsNone(self.read("protobuf-source.sources"))
        self.assertIsNone(self.read("protobuf-source.list"))


if __name__ == "__main__":
    unittest.main(verbosity=2)
