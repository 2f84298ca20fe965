#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Builds the one self-contained page: page.html with page.css, the compiled
core (its WebAssembly already inside the JavaScript) and page.js inlined,
and the hashes of those inline blocks in its Content-Security-Policy, so
that no other script or style runs.

    inline_page.py WEB_DIR CORE_JS OUT_HTML VERSION
"""
import base64
import hashlib
import os
import re
import sys


def script_safe(js):
    # Nothing inside a <script> element may close it early.
    return js.replace("</script", "<\\/script").replace("<!--", "<\\!--")


# The page is written in ASCII only, so that the browser reads it, and the
# scripts' engine parses it, as one-byte text; a single other character
# makes the whole of it two-byte. Other characters are written as escapes.
def ascii_only(text, escape):
    return "".join(c if ord(c) < 128 else escape(c) for c in text)


def html_escape(c):
    return "&#x%x;" % ord(c)


def css_escape(c):
    return "\\%x " % ord(c)


def js_escape(c):
    units = c.encode("utf-16-be")
    return "".join("\\u%02x%02x" % (units[i], units[i + 1]) for i in range(0, len(units), 2))


def hashes(page, element):
    blocks = re.findall(r"<%s>(.*?)</%s>" % (element, element), page, re.S)
    return " ".join("'sha256-%s'" % base64.b64encode(hashlib.sha256(b.encode("utf-8")).digest()).decode()
                    for b in blocks)


def main():
    web, core_js, out, version = sys.argv[1:5]
    read = lambda name: open(os.path.join(web, name), encoding="utf-8").read()
    page = ascii_only(read("page.html"), html_escape)
    parts = {
        "/*PAGE_CSS*/": ascii_only(read("page.css"), css_escape),
        "/*CORE_JS*/": ascii_only(script_safe(open(core_js, encoding="utf-8").read()), js_escape),
        "/*PAGE_JS*/": ascii_only(script_safe(read("page.js").replace("@VERSION@", version)), js_escape),
    }
    for marker, text in parts.items():
        if page.count(marker) != 1:
            sys.exit("inline_page.py: %s must appear once in page.html" % marker)
        page = page.replace(marker, text)
    for marker, element in (("/*SCRIPT_HASHES*/", "script"), ("/*STYLE_HASHES*/", "style")):
        if page.count(marker) != 1:
            sys.exit("inline_page.py: %s must appear once in page.html" % marker)
        page = page.replace(marker, hashes(page, element))
    temp = out + ".tmp"
    with open(temp, "w", encoding="utf-8") as f:
        f.write(page)
    os.replace(temp, out)


if __name__ == "__main__":
    main()
