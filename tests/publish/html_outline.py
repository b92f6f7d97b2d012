#!/usr/bin/env python3
"""Prints how an HTML parser reads published pages, one line per start tag,
attribute, end tag, text run, comment and declaration; character references
are decoded. For a web archive (.mhtml) each text/html part is read.

Usage: html_outline.py FILE...; each file's outline follows a line "file FILE".
"""
import email
import email.policy
import sys
from html.parser import HTMLParser


def clean(text):
    return (text.replace("\\", "\\\\").replace("\n", "\\n").replace("\r", "\\r")
            .replace("\t", "\\t"))


class Outline(HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.lines = []
        self.text = ""

    def flush(self):
        if self.text:
            self.lines.append("text " + clean(self.text))
            self.text = ""

    def handle_starttag(self, tag, attrs):
        self.flush()
        self.lines.append("start " + tag)
        for name, value in attrs:
            self.lines.append("attr %s=%s" % (name, clean(value or "")))

    def handle_endtag(self, tag):
        self.flush()
        self.lines.append("end " + tag)

    def handle_data(self, data):
        self.text += data

    def handle_comment(self, data):
        self.flush()
        self.lines.append("comment " + clean(data))

    def handle_decl(self, decl):
        self.flush()
        self.lines.append("decl " + clean(decl))

    def unknown_decl(self, data):
        self.flush()
        self.lines.append("decl " + clean(data))

    def handle_pi(self, data):
        self.flush()
        self.lines.append("pi " + clean(data))


def outline(html):
    parser = Outline()
    parser.feed(html)
    parser.close()
    parser.flush()
    return parser.lines


def pages(path):
    with open(path, "rb") as file:
        data = file.read()
    if not path.lower().endswith(".mhtml"):
        return [(None, data)]
    message = email.message_from_bytes(data, policy=email.policy.compat32)
    return [(part.get("Content-Id"), part.get_payload(decode=True))
            for part in message.walk() if part.get_content_type() == "text/html"]


def main():
    out = sys.stdout
    for path in sys.argv[1:]:
        out.write("file %s\n" % path)
        for name, data in pages(path):
            if name is not None:
                out.write("part %s\n" % name)
            for line in outline(data.decode("utf-8", "replace")):
                out.write(line + "\n")


if __name__ == "__main__":
    sys.stdout.reconfigure(encoding="utf-8")
    main()
