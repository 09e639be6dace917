#pragma once

#include "core/LimitiEParametri.h"

// The realistic example unit that examples/MachinesParameters.ini holds, as a record.
CLimitiEParametri MacchinaEsempio();
