#include "steadycompositor.h"

namespace wordlumen {

SteadyCompositor::~SteadyCompositor() = default;

} // namespace wordlumen
