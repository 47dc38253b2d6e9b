#!/usr/bin/env python3
"""Every string table is a JSON object naming each key once: the program's JSON reader keeps only
the last of two equal keys, so a second entry would silently hide the first text."""
import json
import sys


def refuse_repeated_keys(pairs):
    seen = set()
    for key, _ in pairs:
        if key in seen:
            raise ValueError(f'key "{key}" appears twice')
        seen.add(key)
    return dict(pairs)


failed = False
for path in sys.argv[1:]:
    try:
        with open(path, encoding='utf-8') as table:
            if not isinstance(json.load(table, object_pairs_hook=refuse_repeated_keys), dict):
                raise ValueError('not a JSON object')
    except ValueError as error:
        print(f'{path}: {error}', file=sys.stderr)
        failed = True
sys.exit(1 if failed else 0)
