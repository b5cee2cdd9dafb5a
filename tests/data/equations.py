"""Interference correction equations for work_out.py, read apart from the
program: "[75As #1] = [75As #1] - 3.127 * ([77Se #1] - 0.815 * [82Se #1])"
gives the target "75As #1" and its terms, each isotope with its coefficient,
the target first when it is a term, then in order of first appearance, the
coefficients that come to 0 left out. Only equations a run accepts are read
here; the refusals are checked by their own tests.
"""

import re

TOKENS = re.compile(r"[ \t]*(\[[^\]]*\]|(?:\d+\.?\d*|\.\d+)(?:[eE][+-]?\d+)?|[-+*()=])")


def tokens(text):
    found, at = [], 0
    while text[at:].strip(" \t"):
        match = TOKENS.match(text, at)
        assert match, "cannot read %r at %d" % (text, at + 1)
        found.append(match.group(1))
        at = match.end()
    return found


class Reader:
    """Values are numbers (float) or isotope terms (dict name -> coefficient)."""

    def __init__(self, text):
        self.words = tokens(text)

    def take(self, word=None):
        got = self.words.pop(0)
        assert word is None or got == word, (got, word)
        return got

    def ahead(self):
        return self.words[0] if self.words else None

    def sum(self):
        value = self.product()
        while self.ahead() in ("+", "-"):
            sign = 1.0 if self.take() == "+" else -1.0
            value = combine(value, self.product(), sign)
        return value

    def product(self):
        value = self.factor()
        while self.ahead() == "*":
            self.take()
            right = self.factor()
            if isinstance(value, dict):
                value = {k: c * right for k, c in value.items()}
            elif isinstance(right, dict):
                value = {k: value * c for k, c in right.items()}
            else:
                value = value * right
        return value

    def factor(self):
        word = self.take()
        if word == "-":
            inner = self.factor()
            return {k: -c for k, c in inner.items()} if isinstance(inner, dict) else -inner
        if word == "(":
            inner = self.sum()
            self.take(")")
            return inner
        if word.startswith("["):
            return {word[1:-1].strip(" \t"): 1.0}
        return float(word)


def combine(left, right, sign):
    assert isinstance(left, dict) and isinstance(right, dict), "a number added to isotopes"
    out = dict(left)
    for k, c in right.items():
        out[k] = out[k] + sign * c if k in out else sign * c
    return out


def read(text):
    """(target, [(isotope, coefficient)]) of an equation a run accepts."""
    reader = Reader(text)
    target = reader.take()[1:-1].strip(" \t")
    reader.take("=")
    right = reader.sum()
    assert not reader.words and isinstance(right, dict)
    kept = [(k, c) for k, c in right.items() if c != 0]
    return target, sorted(kept, key=lambda term: term[0] != target)


def expanded(target, terms):
    text = "%s = %g x %s" % (target, terms[0][1], terms[0][0])
    for name, c in terms[1:]:
        text += " %s %g x %s" % ("-" if c < 0 else "+", abs(c), name)
    return text
