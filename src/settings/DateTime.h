// A calendar date and a time of day, as the config store keeps them.
#pragma once

namespace lanzhou::settings {

struct DateTime {
  int year = 100;  // what a text that is not a date reads as: 1 January 100, 00:00:00
  int month = 1;
  int day = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;

  friend bool operator==(const DateTime&, const DateTime&) = default;
};

}  // namespace lanzhou::settings
