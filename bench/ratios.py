"""Prints one benchmark's figures beside each other with their ratios.

    ratios.py OUT SUBJECT LEGEND [PEER...]

OUT holds one file per contender ("raw", "pyxolin" and each PEER), each line
"figure value unit". Ratios are the subject's value over raw C's and over
each peer's, measured in the same run.
"""
import sys


def load(out, name):
    figures = {}
    for line in open(f'{out}/{name}'):
        if line.strip():
            fig, value, unit = line.split()[:3]
            figures[fig] = (float(value), unit)
    return figures


def main():
    out, subject, legend, peers = sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4:]
    raw, pyx = load(out, 'raw'), load(out, 'pyxolin')
    others = {p: load(out, p) for p in peers}
    head = f"{'figure':15s} {'unit':11s} {'raw C':>10s} {subject:>10s}" + ''.join(f" {p:>10s}" for p in peers)
    head += f" {subject + '/raw':>11s}" + ''.join(f" {subject + '/' + p:>14s}" for p in peers)
    print(head)
    for fig, (value, unit) in pyx.items():
        row = f"{fig:15s} {unit:11s} {raw[fig][0]:10.2f} {value:10.2f}"
        row += ''.join(f" {others[p][fig][0]:10.2f}" for p in peers)
        row += f" {value / raw[fig][0]:11.3f}" + ''.join(f" {value / others[p][fig][0]:14.2f}" for p in peers)
        print(row)
    print(legend)


if __name__ == '__main__':
    main()
