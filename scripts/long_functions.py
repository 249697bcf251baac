#!/usr/bin/env python3
"""Lists the C++ functions whose bodies span more than N lines (default 40),
and exits 1 when there is any: the source tree keeps every function short.
usage: long_functions.py [--max N] DIR_OR_FILE..."""
import os, re, sys

def strip(src):
    out, i, n = [], 0, len(src)
    while i < n:
        c = src[i]
        if src.startswith('//', i):
            j = src.find('\n', i); j = n if j < 0 else j
            out.append(' ' * (j - i)); i = j
        elif src.startswith('/*', i):
            j = src.find('*/', i + 2); j = n if j < 0 else j + 2
            out.append(re.sub(r'[^\n]', ' ', src[i:j])); i = j
        elif src.startswith('R"', i) and (i == 0 or not (src[i-1].isalnum() or src[i-1] == '_')):
            m = re.match(r'R"([^(]*)\(', src[i:])
            end = src.find(')' + m.group(1) + '"', i)
            j = end + len(m.group(1)) + 2
            out.append(re.sub(r'[^\n]', ' ', src[i:j])); i = j
        elif c in '"\'' and not (c == "'" and i > 0 and src[i-1].isalnum()):
            j = i + 1
            while j < n and src[j] != c:
                j += 2 if src[j] == '\\' else 1
            out.append(' ' * (j + 1 - i)); i = j + 1
        else:
            out.append(c); i += 1
    return ''.join(out)

def functions(path):
    text = strip(open(path, encoding='utf-8', errors='replace').read())
    stack, header_start = [], 0
    results = []
    for i, c in enumerate(text):
        if c == '{':
            header = text[header_start:i].strip()
            in_function = any(k == 'f' for k, _, _ in stack)
            kind = 'o'
            if not in_function:
                h = re.sub(r'\s+', ' ', header)
                if re.match(r'^(template ?<.*> ?)?(namespace|class|struct|enum|union|extern)\b', h) or h.endswith('=') or not h:
                    kind = 'o'
                elif '(' in h:
                    kind = 'f'
            stack.append((kind, i, header))
            header_start = i + 1
        elif c == '}':
            if stack:
                kind, start, header = stack.pop()
                if kind == 'f':
                    first = text.count('\n', 0, start) + 1
                    last = text.count('\n', 0, i) + 1
                    name = re.sub(r'\s+', ' ', header)[-70:]
                    results.append((last - first - 1, first, name))
            header_start = i + 1
        elif c == ';':
            header_start = i + 1
    return results

def main(argv):
    limit = 40
    if argv[:1] == ['--max']:
        limit = int(argv[1]); argv = argv[2:]
    found = 0
    for root in argv:
        paths = [root] if os.path.isfile(root) else [os.path.join(d, f) for d, _, fs in os.walk(root) for f in fs]
        for p in sorted(paths):
            if not p.endswith(('.cpp', '.h', '.c')):
                continue
            for length, line, name in functions(p):
                if length > limit:
                    print(f'{p}:{line}: {length} lines: {name}')
                    found += 1
    return 1 if found else 0

sys.exit(main(sys.argv[1:]))
