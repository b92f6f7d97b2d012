#!/usr/bin/env python3
"""Writes the manual page of trevanto-cli: the hand-written page with its
COMMANDS section made from the program's own --help texts, so that the page
lists the options the program really has.

    make_man_page.py TREVANTO_CLI TEMPLATE OUTPUT VERSION
"""
import re
import subprocess
import sys


def escape(text):
    """Backslashes and hyphens escaped for roff."""
    return text.replace("\\", "\\e").replace("-", "\\-")


def request_safe(line):
    """A text line that would read as a request is protected."""
    return "\\&" + line if line.startswith((".", "'")) else line


def help_to_roff(text):
    """One subcommand's --help: the usage block as it stands, the option list
    as tagged paragraphs, the other paragraphs filled."""
    out = []
    for block in text.strip("\n").split("\n\n"):
        lines = block.split("\n")
        if lines[0].startswith("usage:"):
            out.append(".PP\n.nf\n" + "\n".join(request_safe(escape(l)) for l in lines) + "\n.fi")
        elif lines[0].rstrip(":") == "options":
            for line in lines[1:]:
                match = re.match(r"^\s+(\S.*?)\s{2,}(\S.*)$", line)
                if not match:
                    out.append(request_safe(escape(line.strip())))
                    continue
                out.append(".TP\n.B %s\n%s" % (escape(match.group(1)),
                                                request_safe(escape(match.group(2)))))
        else:
            out.append(".PP\n" + "\n".join(request_safe(escape(l.strip())) for l in lines))
    return "\n".join(out)


def main():
    cli, template, output, version = sys.argv[1:5]
    sections = []
    for command in ("slice", "load", "batch"):
        text = subprocess.run([cli, command, "--help"], check=True, capture_output=True,
                              text=True).stdout
        sections.append(".SS %s\n%s" % (command, help_to_roff(text)))
    with open(template, encoding="utf-8") as source:
        page = source.read()
    page = page.replace("@VERSION@", version).replace("@COMMANDS@", "\n".join(sections))
    with open(output, "w", encoding="utf-8") as target:
        target.write(page)


if __name__ == "__main__":
    main()
