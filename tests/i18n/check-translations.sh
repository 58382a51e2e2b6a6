#!/usr/bin/env bash
# Fails when a text of the window, tavikctl or the core has no translation in
# a catalogue of translations/, when a catalogue still holds a text the
# sources no longer have, or when a translation lost a placeholder (%1) or
# the line end of its source. lupdate gathers the sources into a copy of each
# committed catalogue, which must come out with nothing unfinished or vanished.
# Usage: check-translations.sh LUPDATE SOURCE_FOLDER
set -euo pipefail
lupdate=$1
source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

status=0
for catalogue in "$source"/translations/*.ts; do
    copy="$work/$(basename "$catalogue")"
    cp "$catalogue" "$copy"
    "$lupdate" -silent -locations none -extensions cpp,h "$source/src" "$source/cli" \
        "$source/sim/taviksimulator.h" -ts "$copy"
    if grep -B3 -E 'type="(unfinished|vanished|obsolete)"' "$copy"; then
        echo "$(basename "$catalogue"): the texts above are new or gone; update the catalogue with" \
             "'cmake --build BUILD --target tavikcore_lupdate' and translate them" >&2
        status=1
    fi
    python3 - "$catalogue" <<'PYTHON' || status=1
import re, sys
import xml.etree.ElementTree as tree

def marks(element):
    text = ''.join(element.itertext())
    return sorted(re.findall(r'%\d', text)) + [text.endswith('\n')]

bad = [message.findtext('source') for message in tree.parse(sys.argv[1]).iter('message')
       if marks(message.find('source')) != marks(message.find('translation'))]
for source in bad:
    print('placeholders or line end differ:', repr(source), file=sys.stderr)
sys.exit(1 if bad else 0)
PYTHON
done
exit $status
