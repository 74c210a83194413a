"""The mutation sites found in short snippets: what is mutated, and what is left alone."""

import unittest

from sites import find_sites

CASES = {
    "template brackets are not comparisons": (
        "std::array<int, 3> a; template <typename T> bool f(T x) { return x > 0; }",
        [("3", "2"), ("3", "4"), (">", ">="), ("0", "1")]),
    "comments, strings, characters and preprocessor lines": (
        "#define N 4\nauto s = \"a < 1\"; char c = '<'; // 1 < 2\n/* x == y */ bool b = a == b;",
        [("==", "!=")]),
    "raw strings and digit separators": (
        'auto r = R"x(a < b)x"; int n = 1\'000;', [("1'000", "999"), ("1'000", "1001")]),
    "assertions and shifts": (
        "void f() { static_assert(N < 4); assert(x == 1); v = a << b; }", [("v = a << b;", "")]),
    "statements but not declarations, returns or loop heads": (
        "void f() { int x = g(); Foo bar(y); x += h(); for (; p->ok();) {} return; }",
        [("x += h();", "")]),
    "constants keep their base and suffix": (
        "unsigned h = 0x0Fu + 017 + 0;", [("0x0Fu", "0x0Eu"), ("0x0Fu", "0x10u"),
                                          ("017", "016"), ("017", "020"), ("0", "1")]),
    "logic and truth": ("bool b = x && true;", [("&&", "||"), ("true", "false")]),
}


class SitesTest(unittest.TestCase):
    def test_snippets(self):
        for name, (text, expected) in CASES.items():
            with self.subTest(name):
                found = [(s.original, r) for s in find_sites("x.cpp", text) for r in s.replacements]
                self.assertEqual(found, expected)


if __name__ == "__main__":
    unittest.main()
