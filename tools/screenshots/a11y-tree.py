#!/usr/bin/python3
"""Prints what a screen reader finds in one of Velmora's windows, read through AT-SPI:
one line a node, indented by depth: role, name, the label linked to it, value and
description. Usage: a11y-tree.py CAPTION (the window's caption, matched whole)."""

import sys
import time

import pyatspi


def label_of(node):
    for relation in node.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            return relation.getTarget(0).name
    return ""


def value_of(node):
    try:
        text = node.queryText()
        return text.getText(0, text.characterCount)
    except NotImplementedError:
        return ""


def walk(node, depth, out):
    if not node.getState().contains(pyatspi.STATE_SHOWING):
        return
    parts = [node.getRoleName()]
    for title, words in (("nome", node.name), ("rótulo", label_of(node)),
                         ("valor", value_of(node)), ("descrição", node.description)):
        if words:
            parts.append(f'{title} "{words}"')
    out.append("  " * depth + " | ".join(parts))
    for child in node:
        if child is not None:
            walk(child, depth + 1, out)


def find(caption):
    for app in pyatspi.Registry.getDesktop(0):
        if app is None:
            continue
        for window in app:
            if window is not None and window.name == caption:
                return window
    return None


def main():
    caption = sys.argv[1]
    # The first reader to ask starts the registry; the program joins it a moment later.
    for _ in range(20):
        window = find(caption)
        if window is not None:
            out = []
            walk(window, 0, out)
            print("\n".join(out))
            return 0
        time.sleep(0.5)
    print(f'janela "{caption}" não encontrada na árvore de acessibilidade', file=sys.stderr)
    return 1


if __name__ == "__main__":
    sys.exit(main())
