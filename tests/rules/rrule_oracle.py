#!/usr/bin/env python3
"""Expands recurrence rules with python3-dateutil, a second expander to check Kelvora's against.

Each line of standard input holds a first date and an RRULE value ("20260131 FREQ=MONTHLY;...").
Each line of output holds, for the rule on the same line, how the series was cut ("none", "years"
when it goes on past three years after its first date, "dates" when it has more than 200 dates)
and its dates as yyyymmdd.
"""
import sys
from datetime import datetime

from dateutil.relativedelta import relativedelta
from dateutil.rrule import rrulestr

MAX_DATES = 200

for line in sys.stdin:
    first_text, rule_text = line.split()
    first = datetime.strptime(first_text, "%Y%m%d")
    last_allowed = first + relativedelta(years=3)
    dates, cut = [], "none"
    for moment in rrulestr(rule_text, dtstart=first):
        if moment > last_allowed:
            cut = "years"
            break
        if len(dates) == MAX_DATES:
            cut = "dates"
            break
        dates.append(moment.strftime("%Y%m%d"))
    print(cut, *dates)
