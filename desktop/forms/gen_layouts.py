#!/usr/bin/env python3
"""Makes the window layout resources of one language from the layout sources.

Each window has one layout source (FORM.layout, German texts inline); each
language has one text table (lang/XX.txt) with the numbered resource texts and,
for every language but the built-in German, a translation of every layout
text. From these this script writes OUT/XX/FORM.qvl (the layout resource: one
control per line, the same controls, ids and event bindings in every language)
and OUT/XX.rc (the layouts as resources of type QVLAYOUT plus the string
table). It refuses a table that misses a text, holds a text no layout has, or
gives two controls of one window the same access key, so the modules cannot
drift from the program.

Layout source: one control per line, indented by two blanks per level below
its parent: KIND NAME key=value ... ; a value is a bare word or "quoted" (\\"
and \\\\ inside). Text keys (caption, hint, title, filter, items) are
translated; written as key!=value a text is the same in every language.
Text table: KEY = VALUE, KEY a number or FORM.caption or FORM.CONTROL.key;
\\r in VALUE is a line break (character 13). Size keys of a control may be
given in a table too, to fit a longer translation.
"""
import argparse
import os
import re
import sys

TEXT_KEYS = ("caption", "hint", "title", "filter", "items")
SIZE_KEYS = ("left", "top", "width", "height", "clientwidth", "clientheight")
FORMS = ("TFRMMAIN", "TFRMEDTPBITEM", "TFRMPICCREATOR", "TFRMFIRSTLOAD", "TFRMQVREAD", "TFRMQVWRITE")
FIRST_CONTROL_ID = 1000

PAIR = re.compile(r'\s+([A-Za-z.]+)(!?)=("(?:[^"\\]|\\.)*"|\S*)')


class LayoutError(Exception):
    pass


def unquote(value):
    if value.startswith('"'):
        return re.sub(r'\\(.)', r'\1', value[1:-1])
    return value


def parse_layout(path):
    """The controls of one layout source in order: dicts with kind, name,
    parent (index or -1), props {key: value} and fixed (text keys not
    translated)."""
    controls, stack = [], []
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            if not line.strip() or line.lstrip().startswith("#"):
                continue
            where = f"{path}:{number}"
            indent = len(line) - len(line.lstrip(" "))
            if indent % 2:
                raise LayoutError(f"{where}: odd indentation")
            depth = indent // 2
            head = re.match(r"\s*(\w+)\s+(\w+)", line)
            if not head:
                raise LayoutError(f"{where}: expected KIND NAME")
            rest = line[head.end():].rstrip("\n")
            props, fixed, pos = {}, set(), 0
            for m in PAIR.finditer(rest):
                if rest[pos:m.start()].strip():
                    raise LayoutError(f"{where}: cannot read {rest[pos:m.start()]!r}")
                pos = m.end()
                props[m.group(1)] = unquote(m.group(3))
                if m.group(2):
                    fixed.add(m.group(1))
            if rest[pos:].strip():
                raise LayoutError(f"{where}: cannot read {rest[pos:]!r}")
            if depth > len(stack) or (depth == 0 and controls):
                raise LayoutError(f"{where}: wrong nesting")
            del stack[depth:]
            control = dict(kind=head.group(1), name=head.group(2), props=props, fixed=fixed,
                           parent=stack[-1] if stack else -1, where=where)
            if any(c["name"] == control["name"] for c in controls):
                raise LayoutError(f"{where}: second control named {control['name']}")
            stack.append(len(controls))
            controls.append(control)
    if not controls or controls[0]["kind"] != "form":
        raise LayoutError(f"{path}: a layout starts with its form")
    return controls


def text_key(form, control, key):
    return f"{form}.{key}" if control["kind"] == "form" else f"{form}.{control['name']}.{key}"


def read_table(path):
    table = {}
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            if not line.strip() or line.lstrip().startswith("#"):
                continue
            key, sep, value = line.rstrip("\n").partition("=")
            if not sep:
                raise LayoutError(f"{path}:{number}: expected KEY = VALUE")
            key = key.strip()
            if key in table:
                raise LayoutError(f"{path}:{number}: {key} given twice")
            table[key] = re.sub(r"\\(.)", lambda m: "\r" if m.group(1) == "r" else m.group(1), value.strip())
    return table


def access_key(text):
    m = re.search(r"&([^&])", text.replace("&&", ""))
    return m.group(1).upper() if m else None


def check_access_keys(form, controls, language):
    """Within one window, the access keys of one page (or of the window outside
    the pages) and of one menu level must differ."""
    scopes = {}
    for c in controls:
        key = access_key(c["props"].get("caption", ""))
        if not key or c["kind"] == "form":
            continue
        scope, p = "window", c["parent"]
        if c["kind"] == "menuitem":
            scope = f"menu {controls[p]['name']}"
        else:
            while p >= 0:
                if controls[p]["kind"] == "tabsheet":
                    scope = controls[p]["name"]
                    break
                p = controls[p]["parent"]
        seen = scopes.setdefault(scope, {})
        if key in seen:
            raise LayoutError(f"{language}: {form}: access key {key} of {c['name']} also used by {seen[key]}")
        seen[key] = c["name"]


def translate(form, controls, table, language, used):
    for c in controls:
        for key in list(c["props"]):
            k = text_key(form, c, key)
            if key in TEXT_KEYS and key not in c["fixed"] and language != "de":
                if k not in table:
                    raise LayoutError(f"{language}: no translation for {k}")
                c["props"][key] = table[k]
                used.add(k)
        for key in SIZE_KEYS:
            k = text_key(form, c, key)
            if k in table:
                c["props"][key] = table[k]
                used.add(k)


def escape(value):
    return value.replace("\\", "\\\\").replace("\t", "\\t").replace("\n", "\\n").replace("\r", "\\r")


def layout_bytes(controls):
    lines = ["QVL1"]
    for i, c in enumerate(controls):
        parent = controls[c["parent"]]["name"] if c["parent"] >= 0 else ""
        fields = [c["kind"], c["name"], parent, str(FIRST_CONTROL_ID + i if i else 0)]
        fields += [f"{k}={escape(v)}" for k, v in c["props"].items()]
        lines.append("\t".join(fields))
    return ("\n".join(lines) + "\n").encode("cp1252")


def rc_string(value):
    return '"' + value.replace("\\", "\\\\").replace('"', '""').replace("\r", "\\r") + '"'


def check_resource_names(names):
    """A module's resource names are found by a binary search over the names
    in the order the resource compiler sorted them (upper case). Wine searches
    in lower case, where "_" sorts before the letters instead of after them,
    and misses a name like GLYPH_ADDPIC next to GLYPH_ADD_D. Names must sort
    the same both ways."""
    upper, lower = sorted(names, key=str.upper), sorted(names, key=str.lower)
    if upper != lower:
        bad = next(u for u, l in zip(upper, lower) if u != l)
        raise LayoutError(f"picture name {bad} sorts differently in upper and lower case")


def pictures_of(controls):
    names = set()
    for c in controls:
        for key in ("glyph", "glyphdisabled", "picture"):
            v = c["props"].get(key, "")
            # "@NAME" is a picture of the program itself, never of a module.
            if v and not v.isdigit() and not v.startswith("@"):
                names.add(v)
    return names


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--forms", required=True, help="folder of the layout sources and lang/")
    ap.add_argument("--language", required=True, help="de for the built-in texts, else the module's")
    ap.add_argument("--pictures", required=True, help="folder of the layout pictures (BMP)")
    ap.add_argument("--out", required=True)
    args = ap.parse_args()

    table = read_table(os.path.join(args.forms, "lang", args.language + ".txt"))
    german = read_table(os.path.join(args.forms, "lang", "de.txt"))
    numbered = {k: v for k, v in table.items() if k.isdigit()}
    missing = sorted(set(k for k in german if k.isdigit()) - set(numbered))
    if missing:
        raise LayoutError(f"{args.language}: no text for {', '.join(missing)}")
    used = set(numbered)
    out_dir = os.path.join(args.out, args.language)
    os.makedirs(out_dir, exist_ok=True)
    rc = ["#pragma code_page(1252)", ""]
    pictures = set()
    for form in FORMS:
        controls = parse_layout(os.path.join(args.forms, form + ".layout"))
        translate(form, controls, table, args.language, used)
        check_access_keys(form, controls, args.language)
        pictures |= pictures_of(controls)
        path = os.path.join(out_dir, form + ".qvl")
        data = layout_bytes(controls)
        old = open(path, "rb").read() if os.path.exists(path) else None
        if old != data:
            with open(path, "wb") as f:
                f.write(data)
        rc.append(f'{form} QVLAYOUT "{os.path.abspath(path)}"')
    unused = sorted(set(table) - used)
    if unused:
        raise LayoutError(f"{args.language}: texts that no layout has: {', '.join(unused)}")
    check_resource_names(pictures | {"PB_HOME", "PB_COMPANY", "PB_MOBILE", "FRAME_RESIZE"})
    rc.append("")
    for name in sorted(pictures):
        rc.append(f'{name} BITMAP "{os.path.abspath(os.path.join(args.pictures, name + ".bmp"))}"')
    rc += ["", "STRINGTABLE", "BEGIN"]
    rc += [f"  {k}, {rc_string(v)}" for k, v in sorted(numbered.items(), key=lambda kv: int(kv[0]))]
    rc += ["END", ""]
    data = "\n".join(rc).encode("cp1252")
    path = os.path.join(args.out, args.language + ".rc")
    if not os.path.exists(path) or open(path, "rb").read() != data:
        with open(path, "wb") as f:
            f.write(data)


if __name__ == "__main__":
    try:
        main()
    except (LayoutError, UnicodeEncodeError, OSError) as e:
        sys.exit(f"gen_layouts: {e}")
