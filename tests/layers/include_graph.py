#!/usr/bin/env python3
"""The layers' include graph: each folder includes only itself and the
folders below it, and within the folders above the platform no file unit
needs itself through others. A unit is a header with its sources (x.h,
x.cpp, x_part.cpp). The platform's canvas, bitmap and vector picture are
one drawing model whose classes know each other on purpose."""
import os
import re
import sys

BELOW = {'platform': set(), 'widgets': {'platform'}, 'diagram': {'platform'},
         'app': {'widgets', 'diagram', 'platform'}}


def main(root):
    faults = []
    for layer, allowed in BELOW.items():
        folder = os.path.join(root, layer)
        headers = {f[:-2] for f in os.listdir(folder) if f.endswith('.h')}

        def unit_of(name):
            # The longest header name the file's name starts with.
            best = max((h for h in headers if name == h or name.startswith(h + '_')), key=len, default=name)
            return best

        graph = {}
        for f in sorted(os.listdir(folder)):
            if not f.endswith(('.h', '.cpp')):
                continue
            unit = unit_of(f.rsplit('.', 1)[0])
            with open(os.path.join(folder, f), encoding='utf-8') as text:
                for other_layer, name in re.findall(r'#include "(\w+)/(\w+)\.h"', text.read()):
                    if other_layer == layer:
                        if unit_of(name) != unit:
                            graph.setdefault(unit, set()).add(unit_of(name))
                    elif other_layer in BELOW and other_layer not in allowed:
                        faults.append(f'{layer}/{f} includes {other_layer}/{name}.h from above')
        # Circles by depth-first search.
        state = {}

        def visit(u, path):
            state[u] = 'open'
            for v in sorted(graph.get(u, ())):
                if state.get(v) == 'open':
                    faults.append(f'{layer}/: circle ' + ' -> '.join(path[path.index(v):] + [v]))
                elif v not in state:
                    visit(v, path + [v])
            state[u] = 'done'

        for u in sorted(graph):
            if layer != 'platform' and u not in state:
                visit(u, [u])
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else '.'))
