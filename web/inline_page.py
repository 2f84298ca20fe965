#!/usr/bin/env python3
"""Builds the one self-contained page: page.html with page.css, the compiled
core (its WebAssembly already inside the JavaScript) and page.js inlined.

    inline_page.py WEB_DIR CORE_JS OUT_HTML VERSION
"""
import os
import sys


def script_safe(js):
    # Nothing inside a <script> element may close it early.
    return js.replace("</script", "<\\/script").replace("<!--", "<\\!--")


def main():
    web, core_js, out, version = sys.argv[1:5]
    read = lambda name: open(os.path.join(web, name), encoding="utf-8").read()
    page = read("page.html")
    parts = {
        "/*PAGE_CSS*/": read("page.css"),
        "/*CORE_JS*/": script_safe(open(core_js, encoding="utf-8").read()),
        "/*PAGE_JS*/": script_safe(read("page.js").replace("@VERSION@", version)),
    }
    for marker, text in parts.items():
        if page.count(marker) != 1:
            sys.exit("inline_page.py: %s must appear once in page.html" % marker)
        page = page.replace(marker, text)
    temp = out + ".tmp"
    with open(temp, "w", encoding="utf-8") as f:
        f.write(page)
    os.replace(temp, out)


if __name__ == "__main__":
    main()
