#!/usr/bin/env python3
"""Usage: never-ran.py DIR

DIR holds one folder per test run (native, wine64, ...) of GoogleTest XML
reports (GTEST_OUTPUT=xml:FOLDER/), one report per start of a test program:
prog.xml, prog_1.xml, ... when a program starts several times (once per
locale, once per case). Prints "RUN PROGRAM SUITE.CASE: WHY" for every case
that was skipped in each start that selected it and so never ran. A case
that ran in one start of its program ran; one that no start selected is no
concern here."""
import os
import re
import sys
import xml.etree.ElementTree as ET

root = sys.argv[1]
for run in sorted(os.listdir(root)):
    folder = os.path.join(root, run)
    if not os.path.isdir(folder):
        continue
    programs = {}  # program -> case -> [ran, skip message]
    for report in sorted(os.listdir(folder)):
        if not report.endswith(".xml"):
            continue
        program = re.sub(r"(_[0-9]+)?\.xml$", "", report)
        cases = programs.setdefault(program, {})
        for case in ET.parse(os.path.join(folder, report)).iter("testcase"):
            if case.get("status") != "run":
                continue  # listed or filtered out, not selected
            name = f"{case.get('classname')}.{case.get('name')}"
            state = cases.setdefault(name, [False, ""])
            skipped = case.find("skipped")
            if case.get("result") == "skipped" or skipped is not None:
                if skipped is not None:
                    state[1] = " ".join(skipped.get("message", "").split())
            else:
                state[0] = True
    for program, cases in sorted(programs.items()):
        for name, (ran, why) in sorted(cases.items()):
            if not ran:
                print(f"{run} {program} {name}: {why}")
