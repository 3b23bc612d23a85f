#ifndef ZARN_TOOLS_TM_RUN_TRANSLATED_CYCLER_DECIDER_H
#define ZARN_TOOLS_TM_RUN_TRANSLATED_CYCLER_DECIDER_H

#include <cstdint>

#include "tools/tm-run/decider_machine.h"
#include "tools/tm-run/verdict.h"

// Steps the machine for at most `budget` steps, watching the steps at which
// the head first reaches a cell beyond all it has visited (a record) on a
// side where the start tape is blank. Two records t1 < t2 on the same side,
// in the same state, with the same cells between the head and as far back as
// the head went from t1 to t2, repeat for ever, each time `shift` further:
// TranslatedCycler. Halts when the machine halts, else Undecided.
Verdict decideTranslatedCycler(const DeciderMachine& machine, std::int64_t budget);

#endif
