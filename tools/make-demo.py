#!/usr/bin/env python3
"""Builds demo/Cours.vmq from the daily market data in ../shared/data.

The daily close of each data set is one security; the open, high and low of
the long series make three more, so that the demo has several securities
quoted on the same days over many years.
"""
import os
import sys

here = os.path.dirname(os.path.abspath(__file__))
data = os.path.join(here, '..', '..', 'shared', 'data')
out = os.path.join(here, '..', 'demo', 'Cours.vmq')

def rows(name):
    with open(os.path.join(data, name)) as f:
        next(f)
        for line in f:
            d, o, h, l, c, v = line.split()
            yield d.replace('-', ''), float(o), float(h), float(l), float(c), v.split('.')[0]

def price(x):
    return ('%.2f' % x).replace('.', ',')

lines = []
for d, o, h, l, c, v in rows('ttrc-1985-2006.tsv'):
    lines.append((d, '012000', 'TTRC CLOTURE', price(c), v))
    lines.append((d, '012001', 'TTRC OUVERTURE', price(o), v))
    lines.append((d, '012002', 'TTRC PLUS HAUT', price(h), v))
    lines.append((d, '012003', 'TTRC PLUS BAS', price(l), v))
for d, o, h, l, c, v in rows('msft-2000-2001.tsv'):
    lines.append((d, '013000', 'MICROSOFT', price(c), v))
lines.sort(key=lambda t: (t[0], t[1]))
with open(out, 'wb') as f:
    for t in lines:
        f.write(('\t'.join(t) + '\r\n').encode('cp1252'))
print(len(lines), 'lignes dans', out, file=sys.stderr)
