#pragma once

// The modes the menu opens a form in, with the numbers the desk has always used for them.

// The reservation status inquiry and the time inquiry it opens: seven days of one target, or
// every target on one day.
enum class InquiryKind { ByTarget = 1, ByDay = 2 };

// What a slot grid's time table is built for: the days of the hours being edited, every target on
// one day, or seven days of one target.
enum class TimeTableMode { HoursEntry = 1, ByDay = 2, ByTarget = 3 };
