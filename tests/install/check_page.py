#!/usr/bin/env python3
"""The program's own page as a browser without a network meets it: it parses as HTML with every
element closed in order, runs no script, loads nothing from elsewhere, and each of its own links
(a file beside it, an anchor) leads somewhere.

    check_page.py PAGE...    the faults of each page on stderr; exit status 1 when there are any
    check_page.py --self     the checker itself, on pages with one fault each
"""
import html.parser
import os
import sys
import urllib.parse

VOID = {"area", "base", "br", "col", "embed", "hr", "img", "input", "link", "meta", "source", "track", "wbr"}
LINKING = {"href", "src", "srcset", "action", "poster", "data", "background", "formaction"}


class Page(html.parser.HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.open, self.ids, self.links, self.faults = [], set(), [], []

    def fault(self, what):
        self.faults.append(f"line {self.getpos()[0]}: {what}")

    def handle_starttag(self, tag, attrs):
        if tag == "script" or any(name.startswith("on") for name, _ in attrs):
            self.fault(f"a script in <{tag}>")
        self.ids.update(value for name, value in attrs if name == "id")
        self.links += [(self.getpos()[0], value) for name, value in attrs if name in LINKING and value]
        if tag not in VOID:
            self.open.append(tag)

    def handle_endtag(self, tag):
        if self.open and self.open[-1] == tag:
            self.open.pop()
        else:
            self.fault(f"</{tag}> where <{self.open[-1] if self.open else ''}> is open")

    def handle_data(self, data):
        # A stylesheet reaches out as a src does.
        if self.open and self.open[-1] == "style" and ("url(" in data or "@import" in data):
            self.fault("the stylesheet loads something")


def faults_of(text, folder):
    page = Page()
    page.feed(text)
    page.close()
    if not text.lstrip().lower().startswith("<!doctype html>"):
        page.fault("no <!DOCTYPE html>")
    if page.open:
        page.fault(f"never closed: {page.open}")
    for line, link in page.links:
        url = urllib.parse.urlsplit(link)
        if url.scheme or link.startswith("//"):
            page.faults.append(f"line {line}: {link} is not the page's own")
        elif url.path and not os.path.exists(os.path.join(folder, urllib.parse.unquote(url.path))):
            page.faults.append(f"line {line}: {link} leads to no file")
        elif not url.path and url.fragment not in page.ids:
            page.faults.append(f"line {line}: {link} leads to no id")
    return page.faults


def self_test():
    here = os.path.basename(__file__)
    cases = [  # name, body, the fault it must report (None: none)
        ("Sound", f'<p id="a"><a href="#a">a</a> <a href="{here}">b</a></p>', None),
        ("Script", "<script>1</script>", "a script"), ("Handler", '<p onclick="x()">a</p>', "a script"),
        ("RemoteImage", '<img src="https://a.example/i.png">', "not the page's own"),
        ("SchemeRelative", '<link href="//a.example/s.css">', "not the page's own"),
        ("StyleImport", "<style>@import 's.css';</style>", "stylesheet"),
        ("DeadFile", '<a href="gone.html">a</a>', "no file"), ("DeadAnchor", '<a href="#gone">a</a>', "no id"),
        ("Misnested", "<p><b>a</p></b>", "</p> where <b>"), ("Unclosed", "<div>a", "never closed"),
    ]
    failed = 0
    for name, body, expected in cases:
        got = faults_of(f"<!DOCTYPE html><html><body>{body}</body></html>", os.path.dirname(__file__))
        if (expected is None and got) or (expected is not None and not any(expected in g for g in got)):
            print(f"{name}: expected {expected!r}, got {got}", file=sys.stderr)
            failed += 1
    return failed


if sys.argv[1:] == ["--self"]:
    sys.exit(1 if self_test() else 0)
faults = []
for path in sys.argv[1:]:
    with open(path, encoding="utf-8") as f:
        faults += [f"{path}: {fault}" for fault in faults_of(f.read(), os.path.dirname(path))]
print("\n".join(faults), file=sys.stderr)
sys.exit(1 if faults or len(sys.argv) < 2 else 0)
