// Compiled by the tests only: with PROBE_UNMAPPED the literal holds a character that CP932 lacks.
#include "common/sjis_literal.h"

using namespace pelmora;

#ifdef PROBE_UNMAPPED
constexpr std::string_view kProbe = "前😀後"_sj;
#else
constexpr std::string_view kProbe = "前表後"_sj;
#endif
static_assert(kProbe.size() == 6);
