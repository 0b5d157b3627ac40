#!/usr/bin/python3
"""scripts/check-includes on small trees: a copy of the script judges the folders made beside it."""
import os
import shutil
import subprocess
import tempfile
import unittest

SCRIPT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts", "check-includes")

# A tree whose arrows all point downward: lab/ includes core/, ui/ includes lab/ and skin/.
CLEAN = {
    "core/log.h": "",
    "core/CMakeLists.txt": "target_sources(vendaro_core PRIVATE\n  log.cpp\n)\n",
    "core/log.cpp": '#include "core/log.h"\n',
    "lab/stamp.cpp": '#include "core/log.h"\n',
    "lab/CMakeLists.txt": "target_sources(vendaro_core PRIVATE\n  stamp.cpp\n)\n",
    "skin/skinner.h": "",
    "ui/CMakeLists.txt": "target_sources(vendaro_ui PRIVATE\n  button.cpp\n)\n",
    "ui/button.h": "",
    "ui/button.cpp": '#include "lab/stamp.h"\n#include "skin/skinner.h"\n',
}


def run(changes):
    with tempfile.TemporaryDirectory() as root:
        os.makedirs(os.path.join(root, "scripts"))
        shutil.copy(SCRIPT, os.path.join(root, "scripts", "check-includes"))
        for name, text in {**CLEAN, **changes}.items():
            path = os.path.join(root, name)
            os.makedirs(os.path.dirname(path), exist_ok=True)
            with open(path, "w", encoding="utf-8") as f:
                f.write(text)
        done = subprocess.run(["/usr/bin/python3", os.path.join(root, "scripts", "check-includes")],
                              capture_output=True, text=True)
        return done.returncode, done.stdout, done.stderr


class CheckIncludes(unittest.TestCase):
    def test_clean_tree_passes_and_prints_the_order(self):
        status, out, err = run({})
        self.assertEqual((status, err), (0, ""))
        self.assertIn("lowest first: jfxlib < platform < core < lab < net", out)
        self.assertIn("all downward, no circle", out)

    def test_faults(self):
        cases = [
            ("upward", {"core/log.cpp": '#include "lab/stamp.h"\n'},
             ["upward: core/log.cpp includes lab/stamp.h (core/ is below lab/)"]),
            ("circle of two", {"lab/stamp.cpp": '#include "ui/button.h"\n'},
             ["circle lab/ -> ui/ -> lab/: lab/stamp.cpp includes ui/button.h; ui/button.cpp includes lab/stamp.h"]),
            ("circle of three", {"core/log.cpp": '#include "ui/button.h"\n'},
             ["circle core/ -> ui/ -> lab/ -> core/:"]),
            ("unknown folder", {"gadgets/thing.cpp": ""}, ["unknown folder gadgets/"]),
            ("window header in window-free code",
             {"lab/CMakeLists.txt": "target_sources(vendaro_core PRIVATE\n  stamp.cpp\n)\n"
                                    "target_sources(vendaro_ui PRIVATE\n  ustamp.cpp\n)\n",
              "lab/ustamp.h": "", "lab/stamp.cpp": '#include "lab/ustamp.h"\n'},
             ["window-free lab/stamp.cpp includes the window header lab/ustamp.h"]),
        ]
        for name, changes, messages in cases:
            with self.subTest(name):
                status, _, err = run(changes)
                self.assertEqual(status, 1)
                for message in messages:
                    self.assertIn(message, err)


if __name__ == "__main__":
    unittest.main()
