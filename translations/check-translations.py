#!/usr/bin/env python3
"""Checks that every text of the window has a finished translation in every
shipped language: lupdate reads the programs' sources (app/, cli/ and
translations/, their tests left out) into a copy of each shipped .ts file; the copy must hold exactly the
shipped texts, each translated, marked finished, with the source's %N
placeholders. Exit 0: all translated, 1: a text is missing or unfinished.

Usage: check-translations.py [--update] LUPDATE SOURCE_ROOT
--update rewrites the shipped .ts files from the sources instead (new texts
come in unfinished, texts no longer used leave).
"""
import glob
import os
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET


def sources(root):
    files = []
    for pattern in ('app/**/*.cpp', 'app/**/*.h', 'cli/**/*.cpp', 'cli/**/*.h', 'translations/*.cpp'):
        files += glob.glob(os.path.join(root, pattern), recursive=True)
    return sorted(f for f in files if '/tests/' not in f[len(root):])


def run_lupdate(lupdate, root, ts):
    command = [lupdate, '-silent', '-I', root, '-locations', 'none', '-no-obsolete',
               *sources(root), '-ts', ts]
    result = subprocess.run(command, capture_output=True, text=True)
    # lupdate warns on stderr about texts it cannot place (a context it
    # cannot resolve): such a text would be looked up under another name.
    if result.returncode != 0 or result.stderr.strip():
        sys.exit(f'lupdate failed on {ts}:\n{result.stderr}')


def messages(ts):
    found = {}
    for context in ET.parse(ts).getroot().iter('context'):
        name = context.findtext('name')
        for message in context.iter('message'):
            translation = message.find('translation')
            found[(name, message.findtext('source'))] = translation
    return found


def placeholders(text):
    return sorted(set(re.findall(r'%\d', text or '')))


def problems(shipped, refreshed):
    """What is wrong with the shipped file, given lupdate's copy of it."""
    have, want = messages(shipped), messages(refreshed)
    out = []
    for key in sorted(set(have) - set(want)):
        out.append(f'no longer in the sources: {key}')
    for (context, source), translation in sorted(want.items()):
        where = f'{context}: {source!r}'
        if (context, source) not in have:
            out.append(f'not translated: {where}')
        elif translation.get('type') is not None:
            out.append(f'{translation.get("type")}: {where}')
        elif not (translation.text or '').strip():
            out.append(f'empty translation: {where}')
        elif placeholders(translation.text) != placeholders(source):
            out.append(f'placeholders {placeholders(translation.text)} instead of '
                       f'{placeholders(source)}: {where}')
    return out


def main(argv):
    update = '--update' in argv
    args = [a for a in argv if a != '--update']
    if len(args) != 2:
        sys.exit(__doc__)
    lupdate, root = args
    shipped = sorted(glob.glob(os.path.join(root, 'translations', '*.ts')))
    if not shipped:
        sys.exit('no .ts files in translations/')
    failed = False
    with tempfile.TemporaryDirectory() as work:
        for ts in shipped:
            if update:
                run_lupdate(lupdate, root, ts)
                continue
            copy = os.path.join(work, os.path.basename(ts))
            shutil.copyfile(ts, copy)
            run_lupdate(lupdate, root, copy)
            found = problems(ts, copy)
            for problem in found:
                print(f'{os.path.basename(ts)}: {problem}')
            if not found:
                print(f'{os.path.basename(ts)}: {len(messages(copy))} texts, all translated')
            failed = failed or bool(found)
    return 1 if failed else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
