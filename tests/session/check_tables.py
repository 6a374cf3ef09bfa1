#!/usr/bin/python3
# Prints the learners' tables of the database directory DB as python3-dbfread
# reads them, one line per live row, in the form check_tables.pl prints too:
#   USER id username firstname lastname status password
#   ASSIGN userid prodid prodtype lastactive lastpost bestpost hex(bookmarks memo)
#   SESS id prodid-of-its-assignment typeflag qtaken qright hex(answers memo)
#   QUESTION testdir num id       (the question tables of the installed tests)
# Empty memos print as "-".
import glob
import os
import sys

import dbfread


def rows(path):
    return dbfread.DBF(path, encoding='latin-1', char_decode_errors='strict')


def memo(value):
    if not value:
        return '-'
    data = value.encode('latin-1') if isinstance(value, str) else bytes(value)
    return data.hex() or '-'


def num(value):
    return str(int(value or 0))


def table(folder, name):
    # The engine may spell the extension either way.
    return next(p for p in glob.glob(os.path.join(folder, '*')) if os.path.basename(p).lower() == name.lower())


db = sys.argv[1]
for r in rows(table(db, 'users.dbf')):
    print('USER', num(r['ID']), r['USERNAME'].rstrip(), r['FIRSTNAME'], r['LASTNAME'], num(r['STATUS']),
          r['PASSWORD'])
products = {}
for r in rows(table(db, 'assign.dbf')):
    products[int(r['ID'])] = r['PRODID'].rstrip()
    print('ASSIGN', num(r['USERID']), r['PRODID'].rstrip(), num(r['PRODTYPE']), num(r['LASTACTIVE']),
          num(r['LASTPOST']), num(r['BESTPOST']), memo(r['EXCEPTIONS']))
for r in rows(table(db, 'testsess.dbf')):
    print('SESS', num(r['ID']), products.get(int(r['ASSIGNID']), '?'), num(r['TYPEFLAG']), num(r['QTAKEN']),
          num(r['QRIGHT']), memo(r['ANSWERS']))
for t in rows(table(db, 'gtest.dbf')):
    folder = t['PATH'].rstrip().rstrip('/')
    for q in rows(table(os.path.join(db, folder), t['TABLENAME'].rstrip() + '.dbf')):
        print('QUESTION', folder, num(q['NUM']), num(q['ID']))
