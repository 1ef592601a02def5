#pragma once
// The check's report has a member named `slots`, which Qt's keyword macro of that name would
// rewrite: window code includes the check through this header, with the macro set aside.
#pragma push_macro("slots")
#undef slots
#include "core/check/job_check.h"
#pragma pop_macro("slots")
