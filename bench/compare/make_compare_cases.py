#!/usr/bin/env python3
"""Writes the article pairs of the comparison benchmarks as files, for timing
`rasp compare` on them:  make_compare_cases.py OUT_DIR WORDS

  ordinary1/2.txt   unrelated articles from a skewed 6,000-word vocabulary
  tiny1/2.txt       unrelated articles over the three words a, b, c
  periodic1/2.txt   "a b c a b c ..." and "a b a b ..."
  run1/2.txt        ("a" x 19, then "c") repeated, and "a a a ..."
"""
import random
import sys


def sentences(words, rnd):
    out, line, n = [], [], 0
    for w in words:
        line.append(w)
        n += 1
        if len(line) >= rnd.randint(6, 20):
            out.append(" ".join(line) + ".")
            line = []
    if line:
        out.append(" ".join(line) + ".")
    paragraphs, i = [], 0
    while i < len(out):
        k = rnd.randint(2, 6)
        paragraphs.append(" ".join(out[i:i + k]))
        i += k
    return "\r\n\r\n".join(paragraphs) + "\r\n"


def zipf_words(count, seed):
    names = random.Random(42)
    letters = "etaoinshrdlucmfwypvbgkqjxz"
    vocab = ["".join(letters[names.randrange(20 if k == 0 else 26)]
                     for k in range(2 + names.randrange(8))) for _ in range(6000)]
    weights = [1.0 / i for i in range(1, 6001)]
    rnd = random.Random(seed)
    return rnd.choices(vocab, weights, k=count)


def main():
    out, words = sys.argv[1], int(sys.argv[2])
    rnd = random.Random(1)
    pairs = {
        "ordinary": (sentences(zipf_words(words, 1), rnd), sentences(zipf_words(words, 3), rnd)),
        "tiny": (sentences(random.Random(5).choices("abc", k=words), rnd),
                 sentences(random.Random(6).choices("abc", k=words), rnd)),
        "periodic": (" ".join("abc"[i % 3] for i in range(words)),
                     " ".join("ab"[i % 2] for i in range(words))),
        "run": (" ".join("c" if i % 20 == 19 else "a" for i in range(words)),
                " ".join("a" for _ in range(words))),
    }
    for name, (first, second) in pairs.items():
        for index, text in ((1, first), (2, second)):
            with open(f"{out}/{name}{index}.txt", "w", newline="") as f:
                f.write(text)


if __name__ == "__main__":
    main()
