#!/usr/bin/env python3
"""check_page.py PAGE... | --self: each page parses as HTML with every element closed in order, runs no
script, loads nothing from elsewhere, and each of its own links (a file beside it, an anchor) leads
somewhere; faults on stderr, exit status 1. --self tries the checker on pages with one fault each."""
import html.parser, os, sys, urllib.parse

VOID = {"area", "base", "br", "col", "embed", "hr", "img", "input", "link", "meta", "source", "track", "wbr"}
LINKING = {"href", "src", "srcset", "action", "formaction", "poster", "data", "background"}


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

    def handle_data(self, data):  # a stylesheet reaches out as a src does
        if self.open and self.open[-1] == "style" and ("url(" in data or "@import" in data):
            self.fault("the stylesheet loads something")


def faults_of(text, folder):
    page = Page()
    page.feed(text), page.close()
    page.faults += [] if text.lstrip().lower().startswith("<!doctype html>") else ["no <!DOCTYPE html>"]
    page.faults += [f"never closed: {page.open}"] if page.open else []
    for line, link in page.links:
        url = urllib.parse.urlsplit(link)
        if url.scheme or link.startswith("//"):
            page.faults.append(f"line {line}: {link} is not the page's own")
        elif url.path and not os.path.exists(os.path.join(folder, urllib.parse.unquote(url.path))):
            page.faults.append(f"line {line}: {link} leads to no file")
        elif not url.path and url.fragment not in page.ids:
            page.faults.append(f"line {line}: {link} leads to no id")
    return page.faults


def self_test():  # each case: name, body, the fault it must report (None: none)
    here, folder = os.path.basename(__file__), os.path.dirname(__file__)
    cases = [("Sound", f'<p id="a"><a href="#a">a</a> <a href="{here}">b</a></p>', None),
             ("Script", "<script>1</script>", "a script"), ("Handler", '<p onclick="x()">a</p>', "a script"),
             ("RemoteImage", '<img src="https://a/i.png">', "not the page's own"), ("SchemeRelative", '<link href="//a/s">', "not the"),
             ("StyleImport", "<style>@import 's.css';</style>", "stylesheet"),
             ("DeadFile", '<a href="gone.html">a</a>', "no file"), ("DeadAnchor", '<a href="#gone">a</a>', "no id"),
             ("Misnested", "<p><b>a</p></b>", "</p> where <b>"), ("Unclosed", "<div>a", "never closed")]
    wrong = [(name, expected, got) for name, body, expected in cases
             for got in [faults_of(f"<!DOCTYPE html><html><body>{body}</body></html>", folder)]
             if ((got != []) if expected is None else not any(expected in g for g in got))]
    return [f"{name}: expected {expected!r}, got {got}" for name, expected, got in wrong]


paths = sys.argv[1:]
if paths == ["--self"]:
    faults = self_test()
else:
    faults = [f"{p}: {fault}" for p in paths for fault in faults_of(open(p, encoding="utf-8").read(), os.path.dirname(p))]
print("\n".join(faults), file=sys.stderr)
sys.exit(1 if faults or not paths else 0)
