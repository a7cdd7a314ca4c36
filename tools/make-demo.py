#!/usr/bin/env python3
"""Builds demo/Cours.vmq from the daily market data in ../shared/data.

A real market over many years: the thirty Dow Jones shares of 1990-2001, the
Swiss Performance Index and its nine sector indices of 1999-2008, the TTRC
share of 1985-2006 and Microsoft of 2000-2001, each a security with a
six-digit code and a name. Lines are in date order, then code, as the
program's "Date + code" sort leaves them.
"""
import os
import sys

here = os.path.dirname(os.path.abspath(__file__))
data = os.path.join(here, '..', '..', 'shared', 'data')
out = os.path.join(here, '..', 'demo', 'Cours.vmq')

DOW = {
    'AA': 'ALCOA', 'AXP': 'AMERICAN EXPRESS', 'T': 'AT&T', 'BA': 'BOEING',
    'CAT': 'CATERPILLAR', 'C': 'CITIGROUP', 'KO': 'COCA-COLA', 'DD': 'DU PONT DE NEMOURS',
    'EK': 'EASTMAN KODAK', 'XOM': 'EXXON MOBIL', 'GE': 'GENERAL ELECTRIC',
    'GM': 'GENERAL MOTORS', 'HWP': 'HEWLETT-PACKARD', 'HD': 'HOME DEPOT',
    'HON': 'HONEYWELL', 'INTC': 'INTEL', 'IBM': 'IBM', 'IP': 'INTERNATIONAL PAPER',
    'JPM': 'J.P. MORGAN CHASE', 'JNJ': 'JOHNSON & JOHNSON', 'MCD': "MCDONALD'S",
    'MRK': 'MERCK', 'MSFT': 'MICROSOFT (DOW)', 'MMM': 'MINNESOTA MINING', 'MO': 'PHILIP MORRIS',
    'PG': 'PROCTER & GAMBLE', 'SBC': 'SBC COMMUNICATIONS', 'UTX': 'UNITED TECHNOLOGIES',
    'WMT': 'WAL-MART', 'DIS': 'WALT DISNEY',
}
SPI = {
    'SPI': 'SPI INDICE GÉNÉRAL', 'BASI': 'SPI MATIÈRES PREMIÈRES', 'INDU': 'SPI INDUSTRIE',
    'CONG': 'SPI BIENS DE CONSOMMATION', 'HLTH': 'SPI SANTÉ', 'CONS': 'SPI SERVICES AUX CONSOMMATEURS',
    'TELE': 'SPI TÉLÉCOMMUNICATIONS', 'UTIL': 'SPI SERVICES COLLECTIFS', 'FINA': 'SPI FINANCE',
    'TECH': 'SPI TECHNOLOGIE',
}


def price(x):
    return ('%.2f' % x).replace('.', ',')


def series(name):
    """(date, series, close, volume) of a data file, with or without a series column."""
    with open(os.path.join(data, name)) as f:
        heading = next(f).rstrip('\n').split('\t')
        for line in f:
            cells = dict(zip(heading, line.rstrip('\n').split('\t')))
            if not cells.get('close'):
                continue
            volume = cells.get('volume') or ''
            yield (cells['date'].replace('-', ''), cells.get('series', ''),
                   float(cells['close']), volume.split('.')[0])


lines = []
for d, s, c, v in series('ttrc-1985-2006.tsv'):
    lines.append((d, '012000', 'TTRC', price(c), v))
for d, s, c, v in series('msft-2000-2001.tsv'):
    lines.append((d, '013000', 'MICROSOFT', price(c), v))
dow_codes = {t: '%06d' % (120010 + 10 * i) for i, t in enumerate(sorted(DOW))}
for d, s, c, v in series('dowjones30-1990-2001.tsv'):
    lines.append((d, dow_codes[s], DOW[s], price(c), v))
spi_codes = {t: '%06d' % (200010 + 10 * i) for i, t in enumerate(sorted(SPI))}
for d, s, c, v in series('spi-sectors-1999-2008.tsv'):
    lines.append((d, spi_codes[s], SPI[s], price(c), v))
lines.sort(key=lambda t: (t[0], t[1]))
with open(out, 'wb') as f:
    for t in lines:
        f.write(('\t'.join(t) + '\r\n').encode('cp1252'))
print(len(lines), 'lignes dans', out, file=sys.stderr)
