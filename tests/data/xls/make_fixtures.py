#!/usr/bin/python3
"""Writes the small Excel 97-2003 workbooks (BIFF8) that the import tests read.

Run from any folder with Debian's python3-xlwt installed:
    /usr/bin/python3 tests/data/xls/make_fixtures.py
The workbooks are written beside this script and kept in the repository, so the tests
need neither Python nor xlwt.
"""
import os

import xlwt

HERE = os.path.dirname(os.path.abspath(__file__))
HEADINGS = ["Planet", "год", "месяц", "день", "часы", "мин.", "сек.", "L_H", "L_M",
            "L_S", "B_D", "B_M", "B_S", "Day", "JD", "L_D", "B_D"]

# The first four data rows of the sample table TabPARI/PARI11_G_1.xls (Moon, 1995),
# columns A to Q.
SAMPLE_ROWS = [
    ["Moon", 1995, 1, 10, 21, 31, 57.6, 2, 48, 44.096, "+16", 2, 0.38,
     10.8971944444444, 2449728.39719444, 42.1837333333333, 16.0334388888889],
    ["Moon", 1995, 1, 20, 1, 39, 18, 10, 30, 40.904, "+04", 31, 13.52,
     20.0689583333333, 2449737.56895833, 157.670433333333, 4.52042222222222],
    ["Moon", 1995, 2, 11, 23, 16, 43.5, 6, 46, 59.594, "+18", 32, 6.24,
     11.9699479166667, 2449760.46994792, 101.748308333333, 18.5350666666667],
    ["Moon", 1995, 2, 12, 22, 25, 56.7, 7, 36, 28.974, "+16", 41, 5.37,
     12.9346840277778, 2449761.43468403, 114.120725, 16.684825],
]


def write_rows(sheet, rows, first_row=0):
    for r, row in enumerate(rows):
        for c, value in enumerate(row):
            if value is not None:
                sheet.write(first_row + r, c, value)


def save(book, name):
    book.save(os.path.join(HERE, name))


def main():
    # Every kind of cell the reader meets, and a second sheet that must not be read.
    book = xlwt.Workbook(encoding="utf-8")
    first = book.add_sheet("Лист1")
    write_rows(first, [
        ["Planet", "год"],
        ["Луна", 1995, 12.5, "12.5", -0.25, 2449728.3971944442, None, 1e16, "-0", "", 0],
    ])
    second = book.add_sheet("Second")
    second.write(1, 1, "второй лист")
    save(book, "cells.xls")

    # A workbook whose only sheet holds nothing.
    book = xlwt.Workbook(encoding="utf-8")
    book.add_sheet("Лист1")
    save(book, "empty.xls")

    # Data in row 2 except in column B, and a full row after it.
    book = xlwt.Workbook(encoding="utf-8")
    sheet = book.add_sheet("Лист1")
    row2 = list(SAMPLE_ROWS[0])
    row2[1] = None
    write_rows(sheet, [HEADINGS, row2, SAMPLE_ROWS[1]])
    save(book, "blank_b2.xls")

    # Four records: they fill a store created with N = 5 exactly.
    book = xlwt.Workbook(encoding="utf-8")
    sheet = book.add_sheet("Лист1")
    write_rows(sheet, [HEADINGS] + SAMPLE_ROWS)
    save(book, "four_rows.xls")

    # Awkward rows of old catalogues, a Cyrillic planet name, and data after the end.
    book = xlwt.Workbook(encoding="utf-8")
    sheet = book.add_sheet("Лист1")
    write_rows(sheet, [
        HEADINGS,
        # row 2: declination above -1 degree, its sign only in the degrees text
        ["Луна", 1995, 1, 10, 21, 31, 57.6, 2, 48, 44.096, "-0", 30, 0],
        # row 3: hours 24, minutes 61, seconds 75 (kept as the arithmetic gives)
        ["Луна", 1995, 1, 10, 24, 61, 75, 1, 0, 0, "+10", 0, 0],
        # row 4: day 33 (over 32.5): rejected
        ["Луна", 1996, 1, 33, 20, 4, 38.5, 5, 57, 45.17, "+18", 43, 14.19],
        # row 5: letters in the month: rejected
        ["Луна", 1995, "xx", 10, 21, 31, 57.6, 2, 48, 44.096, "+16", 2, 0.38],
        # row 6: seconds of time written with a point, as a text cell
        ["Луна", 1995, 1, 10, 21, 31, "12.5", 2, 48, 44.096, "+16", 2, 0.38],
        # row 7: empty: the end of the data
        [],
        # row 8: must not be read
        ["Луна", 1995, 1, 10, 21, 31, 57.6, 2, 48, 44.096, "+16", 2, 0.38],
    ])
    save(book, "edge_rows.xls")


if __name__ == "__main__":
    main()
