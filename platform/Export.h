#pragma once

// Everything a host may call is marked with KORVANE_API; the rest of the library stays hidden.
#define KORVANE_API __attribute__((visibility("default")))
