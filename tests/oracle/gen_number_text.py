#!/usr/bin/env python3
"""Expected number and date texts of the formatting runtime, computed with python's decimal module on the
exact value of each double (rounding half away from zero).

Writes tests/platform/data/number_text.tsv with the columns
  value (float.hex) | format | precision | digits | text with '.' and ',' | text with ',' and NBSP
where format is "str" (FloatToStr), or 0 (general), 1 (exponent), 2 (fixed), 3 (number) of
FloatToStrF. A value that rounds to zero carries no minus sign.

Also writes tests/platform/data/day_numbers.tsv: day number since 30 December 1899 | year |
month | day | weekday (1 Sunday .. 7 Saturday), from datetime.date arithmetic.

Run: python3 tests/oracle/gen_number_text.py
"""
import datetime
import os
from decimal import Decimal, ROUND_HALF_UP, getcontext

getcontext().prec = 1000

VALUES = [
    0.0, -0.0, 0.125, -0.125, 2.675, -2.675, 1.005, 1.015, 0.045, 1.45, 8.345, 0.5, 1.5, 2.5,
    99.995, 0.1, 0.7, 1 / 3, 2 / 3, -1 / 3, 6.0, 123.456, -1234.5678, 1234567.891,
    123456789.125, 999999999999999.0, 999999999999999.4, 999999999999999.9, 1e15, -1e15,
    1e-5, 0.0001, 0.00009999999999999999, 4.42615029219009e-5, 1.23456789012346e15,
    1e21, 12345678901234567890.0, 1e100, 1e308, -1e308, 5e-324, 0.9999999999999999,
    9.9999999999999995, 2.138089935299395, 0.001, -0.004, 0.005, -0.005,
]

CASES = [("str", 15, 0)]
CASES += [(2, 15, d) for d in (0, 2, 5, 18)]
CASES += [(3, 15, 2), (3, 4, 0)]
CASES += [(1, 4, 2), (1, 15, 0), (1, 1, 4)]
CASES += [(0, 6, 2), (0, 15, 0)]


def general(x, precision, min_exp_digits, point):
    d = abs(Decimal(x))
    if d == 0:
        return "0"
    q = d.quantize(Decimal(1).scaleb(d.adjusted() - precision + 1), ROUND_HALF_UP).normalize()
    sign = "-" if x < 0 else ""
    adj = q.adjusted()
    if -4 <= adj <= precision - 1:
        return sign + format(q, "f").replace(".", point)
    digits = "".join(map(str, q.as_tuple().digits))
    mantissa = digits[0] + (point + digits[1:] if len(digits) > 1 else "")
    exp = str(abs(adj)).rjust(min_exp_digits, "0")
    return sign + mantissa + "E" + ("-" if adj < 0 else "") + exp


def exponent(x, precision, exp_digits, point):
    d = abs(Decimal(x))
    if d == 0:
        digits, adj = "0" * precision, 0
    else:
        q = d.quantize(Decimal(1).scaleb(d.adjusted() - precision + 1), ROUND_HALF_UP)
        digits = "".join(map(str, q.as_tuple().digits))[:precision].ljust(precision, "0")
        adj = q.adjusted()
    sign = "-" if x < 0 and d != 0 and digits.strip("0") else ""
    mantissa = digits[0] + (point + digits[1:] if precision > 1 else "")
    return (sign + mantissa + "E" + ("-" if adj < 0 else "+") +
            str(abs(adj)).rjust(exp_digits, "0"))


def fixed(x, precision, places, point, group):
    q = abs(Decimal(x)).quantize(Decimal(1).scaleb(-places), ROUND_HALF_UP)
    text = format(q, "f")
    integer, _, fraction = text.partition(".")
    if len(integer.lstrip("0")) > precision:
        return general(x, precision, 0, point)
    if group is not None:
        parts = []
        while len(integer) > 3:
            parts.insert(0, integer[-3:])
            integer = integer[:-3]
        integer = group.join([integer] + parts)
    sign = "-" if x < 0 and q != 0 else ""
    return sign + integer + (point + fraction if places else "")


def text(x, fmt, precision, digits, point, group):
    if fmt == "str":
        return general(x, 15, 0, point)
    if fmt == 0:
        return general(x, precision, digits, point)
    if fmt == 1:
        return exponent(x, precision, digits, point)
    return fixed(x, precision, digits, point, group if fmt == 3 else None)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = os.path.join(here, "..", "platform", "data", "number_text.tsv")
    with open(out, "w", encoding="utf-8", newline="\n") as f:
        for x in VALUES:
            for fmt, precision, digits in CASES:
                c = text(x, fmt, precision, digits, ".", ",")
                cs = text(x, fmt, precision, digits, ",", "\u00a0")
                f.write(f"{x.hex()}\t{fmt}\t{precision}\t{digits}\t{c}\t{cs}\n")
    zero = datetime.date(1899, 12, 30)
    days = [-693593, -693592, -657435, -36522, -1, 0, 1, 2, 59, 60, 61, 36526, 36585, 36586,
            46000, 73050, 2958465]
    with open(os.path.join(here, "..", "platform", "data", "day_numbers.tsv"), "w",
              encoding="utf-8", newline="\n") as f:
        for n in days:
            d = zero + datetime.timedelta(days=n)
            f.write(f"{n}\t{d.year}\t{d.month}\t{d.day}\t{d.isoweekday() % 7 + 1}\n")


if __name__ == "__main__":
    main()
