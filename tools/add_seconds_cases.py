#!/usr/bin/env python3
"""Writes the expected results of addSeconds, as Python's calendar has them.

    python3 tools/add_seconds_cases.py > values/testdata/add_seconds_cases.inc

Two tables of C++ initialisers, each row a start, a count of seconds and the
date and time that lie that many seconds later (earlier for a negative
count), all in the proleptic Gregorian calendar without time zones:

  kFromUnixBase   the start 1970-01-01 08:00:00 (the base of a 10-digit
                  stamp) by counts over the whole signed 32-bit range;
  kAcrossRange    starts and results anywhere from 100-01-02 00:00:00 to
                  9999-12-31 00:00:00, many of them on either side of
                  1899-12-30 and many of them at midnight.

The rows come from a fixed seed, so the output is the same on every run.
Run it once when the cases change; the output is committed.
"""

import datetime
import random

INT32_MIN = -(2 ** 31)
INT32_MAX = 2 ** 31 - 1

UNIX_BASE = datetime.datetime(1970, 1, 1, 8, 0, 0)
FIRST = datetime.datetime(100, 1, 2)   # earliest start or result whose
                                       # whole day reads back exactly
LAST = datetime.datetime(9999, 12, 31)  # latest instant that reads back
EPOCH = datetime.datetime(1899, 12, 30)


def shifted(start, count):
    return start + datetime.timedelta(seconds=count)


def fields(moment):
    return '%d, %d, %d, %d, %d, %d' % (moment.year, moment.month, moment.day,
                                      moment.hour, moment.minute,
                                      moment.second)


def unix_base_counts(rng):
    counts = {0, 1, -1, INT32_MIN, INT32_MAX, INT32_MIN + 1, INT32_MAX - 1,
              1543712345, 1543717408, -28800, -28801, -28799, 57599, 57600}
    for k in range(1, 31):
        for c in (2 ** k - 1, 2 ** k, 2 ** k + 1):
            counts.add(c)
            counts.add(-c)
    # Midnights and the seconds around them, years apart.
    for days in range(-24855, 24856, 97):
        for delta in (-1, 0, 1):
            c = -28800 + days * 86400 + delta
            if INT32_MIN <= c <= INT32_MAX:
                counts.add(c)
    while len(counts) < 3000:
        counts.add(rng.randint(INT32_MIN, INT32_MAX))
    return sorted(counts)


def random_moment(rng, low, high):
    span = int((high - low).total_seconds())
    return low + datetime.timedelta(seconds=rng.randint(0, span))


def in_range(moment):
    return FIRST <= moment <= LAST or moment == datetime.datetime(100, 1, 1)


def across_range_rows(rng):
    rows = []

    def add(start, count):
        if not (INT32_MIN <= count <= INT32_MAX) or count == 0:
            return
        if start != datetime.datetime(100, 1, 1) and not in_range(start):
            return
        try:
            result = shifted(start, count)
        except OverflowError:
            return
        if in_range(result):
            rows.append((start, count, result))

    # Anywhere in the range, by any count.
    for _ in range(1500):
        add(random_moment(rng, FIRST, LAST), rng.randint(INT32_MIN, INT32_MAX))
    # Near 1899-12-30, where the encoding turns round, by small and large
    # counts.
    near_low = EPOCH - datetime.timedelta(days=3)
    near_high = EPOCH + datetime.timedelta(days=3)
    for _ in range(600):
        add(random_moment(rng, near_low, near_high),
            rng.choice([rng.randint(-300000, 300000),
                        rng.randint(INT32_MIN, INT32_MAX)]))
    for start in (EPOCH, EPOCH - datetime.timedelta(seconds=1),
                  EPOCH + datetime.timedelta(seconds=1),
                  EPOCH - datetime.timedelta(hours=12),
                  EPOCH - datetime.timedelta(days=1),
                  EPOCH + datetime.timedelta(days=1)):
        for count in (1, -1, 43200, -43200, 86399, -86399, 86400, -86400,
                      86401, -86401, 172800, -172800):
            add(start, count)
    # Results at a midnight, and starts at a midnight, on both sides.
    for _ in range(600):
        day = random_moment(rng, FIRST, LAST).replace(hour=0, minute=0,
                                                      second=0)
        reach = datetime.timedelta(days=24000)
        low = FIRST if day - FIRST < reach else day - reach
        high = LAST if LAST - day < reach else day + reach
        start = random_moment(rng, low, high)
        add(start, int((day - start).total_seconds()))
        add(day, rng.randint(INT32_MIN, INT32_MAX))
    # The ends of the range.
    add(datetime.datetime(9999, 12, 30, 23, 59, 59), 1)
    add(datetime.datetime(9999, 12, 31), -1)
    add(datetime.datetime(9999, 12, 31), -86400)
    add(datetime.datetime(100, 1, 2), 86399)
    add(datetime.datetime(100, 1, 2), -86400)
    add(datetime.datetime(100, 1, 1), 86400)
    add(datetime.datetime(100, 1, 1), 86401)
    add(datetime.datetime(100, 1, 1), INT32_MAX)
    add(datetime.datetime(9999, 12, 31), INT32_MIN)
    rows.sort(key=lambda row: (row[0], row[1]))
    return rows


def main():
    rng = random.Random(20181202)
    print('// Generated by tools/add_seconds_cases.py; do not edit.')
    print()
    print('// {count, year, month, day, hour, minute, second}: 1970-01-01 '
          '08:00:00')
    print('// moved by count seconds.')
    print('inline constexpr AddSecondsFromBase kFromUnixBase[] = {')
    for count in unix_base_counts(rng):
        print('    {%d, %s},' % (count, fields(shifted(UNIX_BASE, count))))
    print('};')
    print()
    print('// {start fields, count, result fields}.')
    print('inline constexpr AddSecondsAcross kAcrossRange[] = {')
    for start, count, result in across_range_rows(rng):
        print('    {{%s}, %d, {%s}},' % (fields(start), count, fields(result)))
    print('};')


if __name__ == '__main__':
    main()
