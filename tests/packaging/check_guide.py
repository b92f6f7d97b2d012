#!/usr/bin/env python3
"""Checks the user guide in a folder as the programs find it: every link to
another page or anchor of the guide resolves, every picture is there, and the
contents page links to every page.

    check_guide.py HELP_FOLDER
"""
import html.parser
import os
import sys
import urllib.parse


class Page(html.parser.HTMLParser):
    def __init__(self):
        super().__init__()
        self.links = []  # (attribute, value)
        self.anchors = set()

    def handle_starttag(self, tag, attrs):
        for name, value in attrs:
            if name in ("id", "name") and value:
                self.anchors.add(value)
            if (tag, name) in (("a", "href"), ("img", "src"), ("link", "href")) and value:
                self.links.append(value)


def main():
    folder = sys.argv[1]
    pages = {}
    for name in sorted(os.listdir(folder)):
        if name.endswith(".html"):
            page = Page()
            with open(os.path.join(folder, name), encoding="utf-8") as source:
                page.feed(source.read())
            pages[name] = page
    problems = []
    if "index.html" not in pages:
        problems.append("no index.html")
    for name, page in pages.items():
        for link in page.links:
            parts = urllib.parse.urlsplit(link)
            if parts.scheme or parts.netloc:
                continue  # an outside address, opened in the user's browser
            target = os.path.normpath(os.path.join(os.path.dirname(name), parts.path)) \
                if parts.path else name
            if not os.path.isfile(os.path.join(folder, target)):
                problems.append("%s: %s is missing" % (name, link))
            elif parts.fragment and parts.fragment not in pages.get(target, Page()).anchors:
                problems.append("%s: no anchor %s" % (name, link))
    linked = {urllib.parse.urlsplit(l).path for l in pages.get("index.html", Page()).links}
    for name in pages:
        if name != "index.html" and name not in linked:
            problems.append("index.html does not link to %s" % name)
    for problem in problems:
        print("FAIL:", problem, file=sys.stderr)
    if problems:
        return 1
    print("user guide: %d pages, links and pictures resolve" % len(pages))
    return 0


if __name__ == "__main__":
    sys.exit(main())
