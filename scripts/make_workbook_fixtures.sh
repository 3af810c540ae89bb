#!/usr/bin/env bash
# Makes the .xlsx and .ods workbooks that the import tests read, and the sample tree's
# .xlsx, from the spreadsheet sample sample/TabPARI/PARI11_G_1.xls:
#
#   tests/data/workbooks/sample_libreoffice.xlsx   LibreOffice's conversion of the .xls
#   tests/data/workbooks/sample.ods                the same to OpenDocument
#   tests/data/workbooks/sample_openpyxl.xlsx      openpyxl's writing of the .xls's cells
#                                                  as xlrd reads them
#   tests/data/workbooks/cells.ods                 LibreOffice's conversion of
#                                                  tests/data/xls/cells.xls (repeated
#                                                  columns and rows, texts, numbers)
#   sample/TabPARI/PARI11_G_2.xlsx                 = sample_openpyxl.xlsx
#
#   bash scripts/make_workbook_fixtures.sh
#
# Neither writer keeps every digit of a number: LibreOffice 7.4 writes 15 significant
# digits, rounded from a shorter decimal form, and openpyxl 3.0 writes 16 ("%.16g").  The
# sample's Julian dates (column O) and decimal angles (N, P, Q) have 17, and of those
# 2449843.3456539353, which the .xls reader shows as 2449843,34565394, openpyxl keeps as
# 2449843.345653935, read back as 2449843,34565393: 6 (LibreOffice) and 17 (openpyxl) of
# the sample's 2040 numbers end one unit apart in the 15th digit.  The BDL files of the
# date forms "YMDHMS" and "YMDay" are the same all the same (the days' 15th digit lies
# below the file's 0.1 ms); in the form "JD" some times differ.  A workbook that Excel
# saved holds every digit.
#
# Installs Debian's libreoffice-calc-nogui, python3-openpyxl and python3-xlrd when missing
# (the build and the tests need neither: the files are kept in the repository).
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$ROOT/scripts/common.sh"
PLANOVA_PACKAGES=()
planova_install_packages libreoffice-calc-nogui python3-openpyxl python3-xlrd

OUT="$ROOT/tests/data/workbooks"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
mkdir -p "$OUT"

# LibreOffice with a profile of its own, so that a running office is not disturbed.
convert() {  # format source
  soffice -env:UserInstallation=file://"$WORK"/profile --headless --convert-to "$1" --outdir "$WORK" "$2" >/dev/null
}
convert xlsx "$ROOT/sample/TabPARI/PARI11_G_1.xls"
convert ods "$ROOT/sample/TabPARI/PARI11_G_1.xls"
convert ods "$ROOT/tests/data/xls/cells.xls"
cp "$WORK/PARI11_G_1.xlsx" "$OUT/sample_libreoffice.xlsx"
cp "$WORK/PARI11_G_1.ods" "$OUT/sample.ods"
cp "$WORK/cells.ods" "$OUT/cells.ods"

# openpyxl writes the cells xlrd reads from the .xls: numbers with every digit (whole
# ones as integers), texts as texts.
/usr/bin/python3 - "$ROOT/sample/TabPARI/PARI11_G_1.xls" "$OUT/sample_openpyxl.xlsx" <<'EOF'
import sys

import openpyxl
import xlrd

source = xlrd.open_workbook(sys.argv[1]).sheet_by_index(0)
book = openpyxl.Workbook()
sheet = book.active
sheet.title = source.name
for r in range(source.nrows):
    for c in range(source.ncols):
        cell = source.cell(r, c)
        if cell.ctype == xlrd.XL_CELL_NUMBER:
            value = int(cell.value) if cell.value.is_integer() else cell.value
        elif cell.ctype == xlrd.XL_CELL_TEXT:
            value = cell.value
        else:
            continue
        sheet.cell(row=r + 1, column=c + 1, value=value)
book.save(sys.argv[2])
EOF
cp "$OUT/sample_openpyxl.xlsx" "$ROOT/sample/TabPARI/PARI11_G_2.xlsx"
ls -l "$OUT" "$ROOT/sample/TabPARI"
