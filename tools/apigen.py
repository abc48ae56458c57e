#!/usr/bin/env python3
"""Expands api/coregl.api and api/pnames.api into the JNI natives of CoreGL
and CoreGLU (coregl_jni.inc), the parameter-count switches they use
(coregl_pnames.inc), and the Java classes CoreGL.java and CoreGLU.java.

    apigen.py --table api/coregl.api --pnames api/pnames.api \
              --gl-header /usr/include/GL/gl.h --glext-header .../glext.h \
              --glu-header /usr/include/GL/glu.h --out build/gen

Every line of the table is checked against the GL and GLU headers (the
function exists and takes the parameters the line gives it), so a slip in
the table stops the build instead of reaching a Java program.
"""

import argparse
import os
import re
import sys

# ---------------------------------------------------------------------------
# Types

# GL scalar type -> (Java type, JNI type)
SCALARS = {
    'GLenum': ('int', 'jint'), 'GLbitfield': ('int', 'jint'), 'GLint': ('int', 'jint'),
    'GLuint': ('int', 'jint'), 'GLsizei': ('int', 'jint'),
    'GLfloat': ('float', 'jfloat'), 'GLclampf': ('float', 'jfloat'),
    'GLdouble': ('double', 'jdouble'), 'GLclampd': ('double', 'jdouble'),
    'GLboolean': ('boolean', 'jboolean'),
    'GLbyte': ('byte', 'jbyte'), 'GLubyte': ('byte', 'jbyte'),
    'GLshort': ('short', 'jshort'), 'GLushort': ('short', 'jshort'),
    'GLComponent': ('GLComponent', 'jobject'),
}
# Element GL type of an array -> (Java element type, JNI array type)
ARRAYS = {
    'GLbyte': ('byte', 'jbyteArray'), 'GLubyte': ('byte', 'jbyteArray'),
    'GLshort': ('short', 'jshortArray'), 'GLushort': ('short', 'jshortArray'),
    'GLint': ('int', 'jintArray'), 'GLuint': ('int', 'jintArray'),
    'GLfloat': ('float', 'jfloatArray'), 'GLclampf': ('float', 'jfloatArray'),
    'GLdouble': ('double', 'jdoubleArray'), 'GLclampd': ('double', 'jdoubleArray'),
    'GLboolean': ('boolean', 'jbooleanArray'),
}
RESULTS = {
    'void': ('void', 'void'), 'GLenum': ('int', 'jint'), 'GLint': ('int', 'jint'),
    'GLuint': ('int', 'jint'), 'GLboolean': ('boolean', 'jboolean'),
    'const GLubyte *': ('String', 'jstring'),
}
# Extents whose arrays GL keeps after the call (checked when GL draws).
VERTEX_ARRAYS = {'vertex', 'normal', 'color', 'index', 'texcoord', 'edgeflag', 'interleaved'}
# Largest array lent through a stack buffer.
SMALL_LIMIT = 16

JAVA_KEYWORDS = {'native', 'default', 'class', 'int', 'float', 'double', 'final'}


class TableError(Exception):
    pass


class Param:
    def __init__(self, gltype, name, pointer=False, const=False, elem=None, extent=None, release=None):
        self.gltype = gltype
        self.name = name
        self.pointer = pointer
        self.const = const
        self.elem = elem or gltype
        self.extent = extent
        self.release = release

    @property
    def java(self):
        if self.pointer:
            return ARRAYS[self.elem][0] + '[]'
        return SCALARS[self.gltype][0]

    @property
    def jni(self):
        if self.pointer:
            return ARRAYS[self.elem][1]
        return SCALARS[self.gltype][1]

    @property
    def jname(self):
        return self.name + '_' if self.name in JAVA_KEYWORDS else self.name


class Native:
    def __init__(self, java, family, cls, flags, result, function, params, line):
        self.java = java
        self.family = family
        self.cls = cls
        self.flags = flags
        self.result = result
        self.function = function
        self.params = params
        self.line = line

    @property
    def arrays(self):
        return [p for p in self.params if p.pointer]

    def flag(self, name):
        return name in self.flags


# ---------------------------------------------------------------------------
# Parsing

PARAM_RE = re.compile(
    r'^(?P<const>const\s+)?(?P<type>\w+)\s*(?P<star>\*)?\s*(?P<name>\w+)'
    r'(?:\s+as\s+(?P<elem>\w+))?(?:\s*\[(?P<extent>[^\]]*)\])?(?:\s+release=(?P<release>0|abort))?$')


def split_params(text):
    parts, depth, cur = [], 0, ''
    for ch in text:
        if ch in '([':
            depth += 1
        elif ch in ')]':
            depth -= 1
        if ch == ',' and depth == 0:
            parts.append(cur.strip())
            cur = ''
        else:
            cur += ch
    if cur.strip():
        parts.append(cur.strip())
    return parts


def parse_table(path):
    natives = []
    family = cls = None
    family_release = '0'
    for number, raw in enumerate(open(path), 1):
        line = raw.split('#', 1)[0].strip()
        if not line:
            continue
        where = f'{path}:{number}'
        if line.startswith('family '):
            words = line.split()
            family = words[1]
            attrs = dict(w.split('=', 1) for w in words[2:])
            cls = attrs.get('class', 'CoreGL')
            family_release = attrs.get('release', '0')
            continue
        if family is None:
            raise TableError(f'{where}: native before any family line')
        head, _, proto = line.partition(' : ')
        if not proto:
            raise TableError(f'{where}: expected "<name> [flags] : <prototype>"')
        words = head.split()
        java, flags = words[0], set()
        release = family_release
        for w in words[1:]:
            if w.startswith('release='):
                release = w.split('=', 1)[1]
            else:
                flags.add(w)
        m = re.match(r'^(?P<result>.*?)\s*(?P<fn>-|\w+)\((?P<params>.*)\)$', proto)
        if not m:
            raise TableError(f'{where}: cannot read the prototype "{proto}"')
        result = ' '.join(m.group('result').replace('*', ' *').split())
        if result not in RESULTS:
            raise TableError(f'{where}: result type "{result}" is not in the type map')
        params = []
        for ptext in split_params(m.group('params')):
            pm = PARAM_RE.match(ptext)
            if not pm:
                raise TableError(f'{where}: cannot read the parameter "{ptext}"')
            p = Param(pm.group('type'), pm.group('name'), bool(pm.group('star')), bool(pm.group('const')),
                      pm.group('elem'), pm.group('extent'), pm.group('release') or release)
            if p.pointer:
                if p.elem not in ARRAYS:
                    raise TableError(f'{where}: {p.name}: no Java array for elements of {p.elem}')
                if not p.extent:
                    raise TableError(f'{where}: {p.name}: a pointer needs an extent')
            elif p.gltype not in SCALARS:
                raise TableError(f'{where}: {p.name}: {p.gltype} is not in the type map')
            params.append(p)
        natives.append(Native(java, family, cls, flags, result, m.group('fn'), params, where))
    return natives


def parse_pnames(path):
    groups, group = {}, None
    for number, raw in enumerate(open(path), 1):
        line = raw.split('#', 1)[0].strip()
        if not line:
            continue
        words = line.split()
        if words[0] == 'group':
            group = groups.setdefault(words[1], [])
            continue
        if group is None or len(words) != 2:
            raise TableError(f'{path}:{number}: expected "<GL enum> <count>"')
        group.append((words[0], words[1], f'{path}:{number}'))
    return groups


def parse_enums(*headers):
    values = {}
    for h in headers:
        for m in re.finditer(r'^#define\s+(GLU?_\w+)\s+(0x[0-9A-Fa-f]+|\d+)\s*$', open(h).read(), re.M):
            values.setdefault(m.group(1), int(m.group(2), 0))
    return values


def parse_prototypes(*headers):
    protos = {}
    for h in headers:
        text = open(h).read()
        for m in re.finditer(r'^GLAPI\s+([^;(]*?)\s*GLAPIENTRY\s+(\w+)\s*\(([^;]*?)\)\s*;', text, re.M):
            params = [' '.join(p.split()) for p in m.group(3).split(',')]
            if params == ['void']:
                params = []
            protos.setdefault(m.group(2), params)
    return protos


def base_type(c_param):
    text = c_param.replace('const', ' ').replace('*', ' * ')
    words = text.split()
    pointer = '*' in words
    words = [w for w in words if w != '*']
    t = words[0]
    if t == 'void':
        t = 'GLvoid'
    return t, pointer


def check_against_headers(natives, protos):
    for n in natives:
        if n.flag('hand') or n.function == '-':
            continue
        if n.function not in protos:
            raise TableError(f'{n.line}: {n.function} is not declared by the GL or GLU header')
        c = protos[n.function]
        if len(c) != len(n.params):
            raise TableError(f'{n.line}: {n.function} takes {len(c)} parameters, the table gives {len(n.params)}')
        for cp, p in zip(c, n.params):
            t, ptr = base_type(cp)
            if ptr != p.pointer or t != p.gltype:
                raise TableError(f'{n.line}: {n.function}: parameter {p.name} is "{cp}" in the header')


# ---------------------------------------------------------------------------
# Extents

def parse_extent(text):
    """(kind, args) for an extent text."""
    text = text.replace(' ', '')
    if re.fullmatch(r'\d+', text):
        return 'fixed', [int(text)]
    m = re.fullmatch(r'(\w+)\*(\w+)', text)
    if m:
        return 'counttype', [m.group(1), m.group(2)]
    m = re.fullmatch(r'(\w+)\((.*)\)', text)
    if m:
        return m.group(1), [a for a in m.group(2).split(',') if a]
    if re.fullmatch(r'\w+', text):
        return 'count', [text]
    raise TableError(f'cannot read the extent "{text}"')


def c_arg(name, native):
    """The C expression for an extent argument: a parameter or a literal."""
    if re.fullmatch(r'-?\d+', name):
        return name
    for p in native.params:
        if p.name == name and not p.pointer:
            return name
    raise TableError(f'{native.line}: the extent names {name}, which is not a scalar parameter')


# ---------------------------------------------------------------------------
# C++ generation

def c_type(gltype):
    return gltype


def gl_cast(p):
    if p.gltype == 'GLComponent':
        return p.name
    return f'static_cast<{p.gltype}>({p.name})'


def need_expr(native, p, groups):
    kind, args = parse_extent(p.extent)
    a = lambda i: c_arg(args[i], native)
    if kind == 'fixed':
        return f'rt::Need::exactly({args[0]})'
    if kind == 'count':
        return f'rt::Need::exactly({a(0)})'
    if kind == 'counttype':
        if native.java.startswith('glDrawElements'):
            return f'rt::Need::bytes(rt::indexBytes({a(0)}, {a(1)}))'
        return f'rt::Need::bytes(rt::listNameBytes({a(0)}, {a(1)}))'
    if kind in groups:
        return f'rt::{kind}Count({a(0)})'
    if kind == 'unpack':
        return f'rt::Need::bytes(rt::imageBytes(rt::unpackState(), {a(0)}, {a(1)}, {a(2)}, {a(3)}))'
    if kind == 'pack':
        return f'rt::Need::bytes(rt::imageBytes(rt::packState(), {a(0)}, {a(1)}, {a(2)}, {a(3)}))'
    if kind == 'bitmap':
        return f'rt::Need::bytes(rt::bitmapBytes(rt::unpackState(), {a(0)}, {a(1)}))'
    if kind == 'packbitmap':
        return f'rt::Need::bytes(rt::bitmapBytes(rt::packState(), {a(0)}, {a(1)}))'
    if kind == 'teximage':
        return f'rt::Need::bytes(rt::texImageBytes({a(0)}, {a(1)}, {a(2)}, {a(3)}))'
    if kind == 'map1':
        return f'rt::Need::exactly(rt::map1Elements({a(0)}, {a(1)}, {a(2)}))'
    if kind == 'map2':
        return f'rt::Need::exactly(rt::map2Elements({a(0)}, {a(1)}, {a(2)}, {a(3)}, {a(4)}))'
    if kind == 'getmap':
        return f'rt::getMapCount({a(0)}, {a(1)})'
    if kind == 'pixelmap':
        return f'rt::pixelMapCount({a(0)})'
    raise TableError(f'{native.line}: extent kind {kind} has no rule')


def small_capacity(native, p, groups):
    """How many elements a stack buffer for p holds (0: always lend the array)."""
    kind, args = parse_extent(p.extent)
    if kind == 'fixed' and args[0] <= SMALL_LIMIT:
        return args[0]
    if kind in groups:
        return SMALL_LIMIT
    if kind in ('getmap', 'pixelmap'):
        return SMALL_LIMIT
    return 0


def release_mode(p):
    return 'JNI_ABORT' if p.release == 'abort' else '0'


def jni_name(native):
    return f'Java_com_tandrel_pyxolin_{native.cls}_{native.java}'


def jni_signature(native):
    result = RESULTS[native.result][1]
    params = ['JNIEnv* env', 'jclass'] + [f'{p.jni} {p.name}' for p in native.params]
    return f'extern "C" JNIEXPORT {result} JNICALL {jni_name(native)}({", ".join(params)})'


def gl_call(native, data_of):
    args = []
    for p in native.params:
        if p.pointer:
            args.append(data_of(p))
        else:
            args.append(gl_cast(p))
    return f'{native.function}({", ".join(args)})'


def image_extent(native, p):
    kind, args = parse_extent(p.extent)
    return kind, args


def emit_unsized_fallback(native, p, out):
    """For an image whose format or type the table of pixel sizes does not
    know: let GL judge the enums on an empty image, so that a bad enum lands
    in GL's error flag and no memory is read or written."""
    kind, args = parse_extent(p.extent)
    if kind not in ('unpack', 'pack', 'teximage'):
        return
    if native.cls == 'CoreGLU':
        out.append(f'  if ({p.name}_need.unsized()) return GLU_INVALID_ENUM;')
        return
    if kind == 'teximage':
        # An empty level cannot be asked for; the enums alone decide.
        out.append(f'  if ({p.name}_need.unsized()) {{ rt::refuseUnsized(env, "{native.java}", "{p.name}"); return; }}')
        return
    zero = {args[0], args[1]}
    call_args = []
    for q in native.params:
        if q.pointer:
            call_args.append('rt::emptyImage()' if q.const else 'const_cast<GLvoid*>(rt::emptyImage())')
        elif q.name in zero:
            call_args.append('0')
        else:
            call_args.append(gl_cast(q))
    out.append(f'  if ({p.name}_need.unsized()) {{ {native.function}({", ".join(call_args)}); return; }}')


def emit_native(native, groups):
    out = [jni_signature(native) + ' {']
    fn = native.function
    ret = native.result
    if native.flag('hand'):
        return None
    if fn == '-':
        out.append('}')
        return out
    arrays = native.arrays
    kinds = {p.name: parse_extent(p.extent)[0] for p in arrays}

    # Vertex-array pointers: kept by GL, so the elements are kept too.
    kept = [p for p in arrays if kinds[p.name] in VERTEX_ARRAYS]
    if kept:
        p = kept[0]
        kind, args = parse_extent(p.extent)
        scalars = {q.name for q in native.params if not q.pointer}
        def arg(name, default):
            return c_arg(name, native) if name in scalars else default
        size = arg('size', '0') if 'size' in args else '0'
        type_ = arg('type', '0') if 'type' in args else '0'
        fmt = arg('format', '0') if 'format' in args else '0'
        out.append(f'  ::pyx::coregl::keepArray(env, ::pyx::coregl::ArrayKind::{kind}, {size}, {type_}, '
                   f'{fmt}, {c_arg("stride", native)}, {p.name}, "{native.java}", "{p.name}");')
        out.append('}')
        return out

    out.insert(1, '  namespace rt = ::pyx::coregl;')
    draws = native.flag('draws')
    if draws and arrays:
        # glDrawElements: the indices decide which kept elements GL reads.
        p = arrays[0]
        out.append(f'  rt::drawElements(env, "{native.java}", {", ".join(q.name for q in native.params)});')
        out.append('}')
        return out
    if draws and not arrays:
        # glDrawArrays and glArrayElement: the kept arrays are checked
        # against the indices and brought up to date first.
        if fn == 'glDrawArrays':
            out.append(f'  if (!rt::prepareDraw(env, "{native.java}", first, count)) return;')
        elif fn == 'glArrayElement':
            out.append(f'  if (!rt::prepareDraw(env, "{native.java}", i, 1)) return;')
        else:
            raise TableError(f'{native.line}: no draw rule for {fn}')
    if native.flag('tracks') and fn == 'glPopClientAttrib':
        out.append(f'  {fn}();')
        out.append('  rt::clientStateRestored();')
        out.append('}')
        return out

    # Array parameters: check all, then copy the small ones, then lend the
    # large ones around the one GL call.
    for p in arrays:
        cap = small_capacity(native, p, groups)
        direction = 'rt::In' if p.const else ('rt::Out' if native.family == 'readback' else 'rt::OutOnce')
        out.append(f'  const rt::Need {p.name}_need = {need_expr(native, p, groups)};')
        emit_unsized_fallback(native, p, out)
        out.append(f'  rt::Arg<{p.jni}, {direction}, {cap}> {p.name}_arg(env, {p.name});')
    if arrays:
        fail = '0' if ret != 'void' else ''
        if ret == 'GLboolean':
            fail = 'JNI_FALSE'
        checks = ' || '.join(f'!{p.name}_arg.check({p.name}_need, "{native.java}", "{p.name}")' for p in arrays)
        out.append(f'  if ({checks}) return {fail};'.replace('return ;', 'return;'))
        copies = ' || '.join(f'!{p.name}_arg.copyIn()' for p in arrays)
        out.append(f'  if ({copies}) return {fail};'.replace('return ;', 'return;'))
        lends = ' || '.join(f'!{p.name}_arg.lend()' for p in arrays)
        out.append(f'  if ({lends}) return {fail};'.replace('return ;', 'return;'))

    def data_of(p):
        # Non-const, so that it passes where GLU declares an input non-const.
        return f'reinterpret_cast<{p.gltype}*>({p.name}_arg.data())'

    call = gl_call(native, data_of)
    if ret == 'void':
        out.append(f'  {call};')
    elif ret == 'GLboolean':
        out.append(f'  const jboolean result = {call} == GL_TRUE ? JNI_TRUE : JNI_FALSE;')
    else:
        out.append(f'  const jint result = static_cast<jint>({call});')
    for p in arrays:
        out.append(f'  {p.name}_arg.unlend({release_mode(p)});')
    for p in arrays:
        if p.const:
            continue
        # A query whose answer left an element unclear is asked again.
        again = call if ret == 'void' else f'(void){call}'
        out.append(f'  if (!{p.name}_arg.copyOut()) {{ {p.name}_arg.again(); {again}; {p.name}_arg.copyOut(); }}')
    if native.flag('tracks'):
        if fn in ('glEnableClientState', 'glDisableClientState'):
            out.append(f'  rt::clientStateChanged(static_cast<GLenum>(cap), {str(fn == "glEnableClientState").lower()});')
        elif fn == 'glInterleavedArrays':
            pass
        else:
            raise TableError(f'{native.line}: no tracking rule for {fn}')
    if ret != 'void':
        out.append('  return result;')
    out.append('}')
    return out


def emit_cpp(natives, groups, enums):
    lines = ['// Generated by tools/apigen.py from api/coregl.api; do not edit.',
             '// The CoreGL and CoreGLU natives that follow their family\'s rule.',
             '#include "coregl_runtime.h"', '']
    for n in natives:
        body = emit_native(n, groups)
        if body is not None:
            lines += body
            lines.append('')
    return '\n'.join(lines) + '\n'


def emit_pnames(groups, enums):
    lines = ['// Generated by tools/apigen.py from api/pnames.api; do not edit.',
             '// How many values each parameter name passes, by group.', '']
    for name, entries in groups.items():
        lines.append(f'inline Need {name}Count(GLenum pname) {{')
        lines.append('  switch (pname) {')
        seen = set()
        for enum, count, where in entries:
            if enum not in enums:
                raise TableError(f'{where}: {enum} is not defined by the GL headers')
            if enums[enum] in seen:
                continue  # an alias of a name already listed
            seen.add(enums[enum])
            if count.startswith('='):
                ref = count[1:]
                if ref not in enums:
                    raise TableError(f'{where}: {ref} is not defined by the GL headers')
                lines.append(f'    case 0x{enums[enum]:04X}: return Need::queried(0x{enums[ref]:04X});  // {enum}')
            else:
                lines.append(f'    case 0x{enums[enum]:04X}: return Need::exactly({int(count)});  // {enum}')
        lines.append('    default: return Need::bounded();')
        lines.append('  }')
        lines.append('}')
        lines.append('')
    return '\n'.join(lines) + '\n'


# ---------------------------------------------------------------------------
# Java generation

def java_constants(enums, prefix, header_enums):
    out = []
    for name, value in header_enums:
        if not name.startswith(prefix):
            continue
        literal = f'0x{value:X}' if value > 9 else str(value)
        if value > 0x7FFFFFFF:
            literal = f'0x{value:X}'
        out.append(f'    public static final int {name} = {literal};')
    return out


def header_enum_list(header, prefix):
    found, seen = [], set()
    for m in re.finditer(r'^#define\s+(' + prefix + r'\w+)\s+(0x[0-9A-Fa-f]+|\d+)\s*$', open(header).read(), re.M):
        if m.group(1) in seen or m.group(1).startswith(prefix + 'VERSION_'):
            continue
        seen.add(m.group(1))
        found.append((m.group(1), int(m.group(2), 0)))
    return found


def java_method(n):
    params = ', '.join(f'{p.java} {p.jname}' for p in n.params)
    result = RESULTS[n.result][0]
    if n.java == 'nGlViewport':
        return f'    static native void nGlViewport({params});'
    return f'    public static native {result} {n.java}({params});'


def java_wrapper(n):
    """The public method that a Java program calls for an n-prefixed native."""
    m = re.fullmatch(r'n(\w+Pointer)(b|s|i|f|d)v', n.java)
    if m:
        name = 'gl' + m.group(1)
    elif re.fullmatch(r'nMap\d[fd]', n.java):
        name = 'gl' + n.java[1:]
    elif n.java == 'nGlViewport':
        name = 'glViewport'
    else:
        return None
    params = ', '.join(f'{p.java} {p.jname}' for p in n.params)
    args = ', '.join(p.jname for p in n.params)
    return [f'    public static void {name}({params}) {{', f'        {n.java}({args});', '    }']


def emit_java(cls, natives, constants, doc):
    lines = ['// Generated by tools/apigen.py from api/coregl.api; do not edit.',
             'package com.tandrel.pyxolin;', '', '/**']
    lines += [f' * {l}' if l else ' *' for l in doc]
    lines += [' */', f'public final class {cls} {{']
    if cls == 'CoreGL':
        lines += ['    static {', '        NativeLibrary.load();', '    }', '']
    else:
        lines += ['    static {', '        NativeLibrary.load();', '    }', '']
    lines += [f'    private {cls}() {{', '    }', '']
    lines += constants
    lines.append('')
    for n in natives:
        lines.append(java_method(n))
    lines.append('')
    for n in natives:
        w = java_wrapper(n)
        if w:
            lines += w
    lines.append('}')
    return '\n'.join(lines) + '\n'


def write_if_changed(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    if os.path.exists(path) and open(path).read() == text:
        return
    with open(path, 'w') as f:
        f.write(text)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument('--table', required=True)
    ap.add_argument('--pnames', required=True)
    ap.add_argument('--gl-header', required=True)
    ap.add_argument('--glext-header', required=True)
    ap.add_argument('--glu-header', required=True)
    ap.add_argument('--out', required=True)
    a = ap.parse_args()
    try:
        natives = parse_table(a.table)
        groups = parse_pnames(a.pnames)
        enums = parse_enums(a.gl_header, a.glext_header, a.glu_header)
        check_against_headers(natives, parse_prototypes(a.gl_header, a.glu_header))
        names = [n.java for n in natives]
        dupes = {x for x in names if names.count(x) > 1}
        if dupes:
            raise TableError(f'{a.table}: natives listed twice: {", ".join(sorted(dupes))}')
        for n in natives:
            for p in n.arrays:
                if parse_extent(p.extent)[0] not in VERTEX_ARRAYS:
                    need_expr(n, p, groups)  # every extent has a rule
    except TableError as e:
        print(f'apigen: {e}', file=sys.stderr)
        return 1
    write_if_changed(os.path.join(a.out, 'coregl_jni.inc'), emit_cpp(natives, groups, enums))
    write_if_changed(os.path.join(a.out, 'coregl_pnames.inc'), emit_pnames(groups, enums))
    java_dir = os.path.join(a.out, 'java', 'com', 'tandrel', 'pyxolin')
    gl = [n for n in natives if n.cls == 'CoreGL']
    glu = [n for n in natives if n.cls == 'CoreGLU']
    write_if_changed(os.path.join(java_dir, 'CoreGL.java'), emit_java(
        'CoreGL', gl, java_constants(enums, 'GL_', header_enum_list(a.gl_header, 'GL_')),
        ['OpenGL 1.1: one static native per GL entry point, with the GL prototype\'s',
         'parameters in order. Arrays are lent to GL for the call; an array that is',
         'null or shorter than GL reads or writes is refused with',
         'NullPointerException or ArrayIndexOutOfBoundsException before GL is called.',
         'Vertex arrays, selection and feedback buffers are kept for GL until replaced.']))
    write_if_changed(os.path.join(java_dir, 'CoreGLU.java'), emit_java(
        'CoreGLU', glu, java_constants(enums, 'GLU_', header_enum_list(a.glu_header, 'GLU_')),
        ['The GLU functions that need no GLU object.']))
    return 0


if __name__ == '__main__':
    sys.exit(main())
