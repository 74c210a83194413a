"""Where a C++ source can be mutated, and how.

Sites are found in a masked copy of the text: comments, string and character
literals, preprocessor lines and the arguments of static_assert, alignas and
assertions are blanked, so nothing is mutated there. Offsets in the mask are
offsets in the text.
"""

import re
from dataclasses import dataclass


@dataclass(frozen=True)
class Site:
    """One place in one file and the texts that may replace it."""

    path: str
    offset: int
    original: str
    replacements: tuple
    kind: str

    def apply(self, text, replacement):
        end = self.offset + len(self.original)
        assert text[self.offset : end] == self.original, "the file changed under the site"
        return text[: self.offset] + replacement + text[end:]

    def line(self, text):
        return text.count("\n", 0, self.offset) + 1


def _blank(chars, start, end):
    for i in range(start, end):
        if chars[i] != "\n":
            chars[i] = " "


def _literal_end(text, i):
    """End of the string or character literal whose quote is at i."""
    quote = text[i]
    raw = quote == '"' and re.search(r'(?:\b|^)(?:u8|u|U|L)?R$', text[max(0, i - 3) : i])
    if raw:
        open_paren = text.index("(", i)
        closing = ")" + text[i + 1 : open_paren] + '"'
        return text.index(closing, open_paren) + len(closing)
    j = i + 1
    while j < len(text) and text[j] != quote and text[j] != "\n":
        j += 2 if text[j] == "\\" else 1
    return j + 1


def _is_digit_separator(text, i):
    start = i
    while start > 0 and (text[start - 1].isalnum() or text[start - 1] in "_'"):
        start -= 1
    return start < i and text[start].isdigit()


def _skip_parenthesised(mask, chars, pattern):
    """Blanks each match of pattern and the parentheses that follow it."""
    for match in re.finditer(pattern, mask):
        depth, j = 0, match.end() - 1
        while j < len(mask):
            depth += {"(": 1, ")": -1}.get(mask[j], 0)
            if depth == 0:
                break
            j += 1
        _blank(chars, match.start(), j + 1)


def mask(text):
    """The text with everything that must not be mutated turned into spaces."""
    chars = list(text)
    i, at_line_start = 0, True
    while i < len(text):
        c = text[i]
        if c == "\n":
            at_line_start = True
            i += 1
            continue
        if at_line_start and c == "#":
            end = i
            while True:
                end = text.find("\n", end)
                end = len(text) if end < 0 else end
                if text[end - 1] != "\\" or end == len(text):
                    break
                end += 1
            _blank(chars, i, end)
            i = end
            continue
        if not c.isspace():
            at_line_start = False
        if text.startswith("//", i):
            end = text.find("\n", i)
            end = len(text) if end < 0 else end
        elif text.startswith("/*", i):
            end = text.index("*/", i + 2) + 2
        elif c == '"' or (c == "'" and not _is_digit_separator(text, i)):
            end = _literal_end(text, i)
        else:
            i += 1
            continue
        _blank(chars, i, end)
        i = end
    masked = "".join(chars)
    # Checked at compile time or not at all in a release build: a mutant
    # there either does not compile or changes nothing.
    _skip_parenthesised(
        masked, chars, r"\b(?:static_assert|alignas|assert|Q_ASSERT|Q_ASSERT_X|Q_UNUSED)\s*\("
    )
    masked = "".join(chars)
    for match in re.finditer(r"\boperator\s*(?:<=>|<=|>=|==|!=|<<|>>|<|>|&&|\|\|)", masked):
        _blank(chars, match.start(), match.end())
    return "".join(chars)


_COMPARISON = {"<": "<=", "<=": "<", ">": ">=", ">=": ">", "==": "!=", "!=": "=="}
_LOGIC = {"&&": "||", "||": "&&"}
_BOOLEAN = {"true": "false", "false": "true"}


def _constant_replacements(literal):
    digits = literal.rstrip("uUlLzZ")
    suffix, plain = literal[len(digits) :], digits.replace("'", "")
    if plain[:2] in ("0x", "0X"):
        value, pattern = int(plain, 16), ("%0" + str(len(plain) - 2) + "X") if plain[2:].isupper() else None
        pattern = pattern or ("%0" + str(len(plain) - 2) + "x")
        spell = lambda v: plain[:2] + pattern % v
    elif plain[:2] in ("0b", "0B"):
        value = int(plain[2:], 2)
        spell = lambda v: plain[:2] + format(v, "b")
    elif len(plain) > 1 and plain[0] == "0":
        value = int(plain, 8)
        spell = lambda v: "0" + format(v, "o")
    else:
        value, spell = int(plain), str
    values = [value - 1, value + 1] if value > 0 else [value + 1]
    return tuple(spell(v) + suffix for v in values)


# An expression statement: a name used at once, not declared (a declaration
# has a type name followed by a space), or an assignment through a pointer.
_EXPRESSION_STATEMENT = re.compile(
    r"(?:this->)?[A-Za-z_][\w:]*(?:\.|->|\(|\[|\s*(?:[-+*/%&|^]|<<|>>)?=(?!=)|\s*\+\+|\s*--)"
    r"|(?:\+\+|--|\*+)[A-Za-z_(]"
)
_NOT_DROPPED = re.compile(
    r"(?:return|break|continue|case|default|goto|co_return|co_yield|throw|using|typedef"
    r"|if|else|for|while|do|switch|try|catch|delete|static_cast|const_cast|reinterpret_cast)\b"
)


def _brace_kind(masked, brace, enclosing):
    head_start = max(masked.rfind(c, 0, brace) for c in ";{}") + 1
    head = masked[head_start:brace].strip()
    if re.search(r"\b(?:namespace|extern)\b", head):
        return "namespace"
    if re.search(r"\b(?:class|struct|union|enum)\b", head) and not head.endswith(")"):
        return "class"
    if not head or head.endswith(")") or re.search(r"(?:\]|\b(?:const|noexcept|override|final|mutable|else|do|try))$", head):
        return "code" if head or enclosing == "code" else enclosing
    if re.search(r"->\s*[\w:<>]+$", head):
        return "code"
    return "initializer"


def _statements(masked):
    """(start, end) of each expression statement directly inside a function body."""
    kinds, parens, found = ["namespace"], [0], []
    last = ";"
    for i, c in enumerate(masked):
        if c.isspace():
            continue
        if kinds[-1] == "code" and parens[-1] == 0 and last in ";{}" and c not in "{}":
            end = _statement_end(masked, i)
            text = masked[i:end]
            if end > i and _EXPRESSION_STATEMENT.match(text) and not _NOT_DROPPED.match(text):
                found.append((i, end))
        if c == "{":
            kinds.append(_brace_kind(masked, i, kinds[-1]))
            parens.append(0)
        elif c == "}":
            if len(kinds) > 1:
                kinds.pop()
                parens.pop()
        elif c in "([":
            parens[-1] += 1
        elif c in ")]":
            parens[-1] -= 1
        last = c
    return found


def _statement_end(masked, start):
    depth = 0
    for j in range(start, len(masked)):
        c = masked[j]
        if c in "([{":
            depth += 1
        elif c in ")]}":
            depth -= 1
            if depth < 0:
                return start
        elif c == ";" and depth == 0:
            return j + 1
    return start


_TOKENS = re.compile(
    r"(?P<comparison>(?<=\s)(?:<=|>=|==|!=|<|>)(?=\s))"
    r"|(?P<logic>(?<=\s)(?:&&|\|\|)(?=\s))"
    r"|(?P<boolean>\b(?:true|false)\b)"
    r"|(?P<constant>(?<![\w.'])(?:0[xX][0-9a-fA-F']+|0[bB][01']+|\d[\d']*)[uUlLzZ]*(?![\w.']))"
)
_TABLES = {"comparison": _COMPARISON, "logic": _LOGIC, "boolean": _BOOLEAN}


def find_sites(path, text):
    """Every site of the file, in the order of the text."""
    masked = mask(text)
    sites = []
    for match in _TOKENS.finditer(masked):
        kind, token = match.lastgroup, match.group()
        replacements = (
            _constant_replacements(token) if kind == "constant" else (_TABLES[kind][token],)
        )
        sites.append(Site(path, match.start(), token, replacements, kind))
    for start, end in _statements(masked):
        sites.append(Site(path, start, text[start:end], ("",), "statement"))
    return sorted(sites, key=lambda site: (site.offset, site.kind))
