// The state of the processor's vector registers between long runs.
//
// On a processor with AVX, code that leaves the upper halves of the YMM registers in use
// (without a vzeroupper after it) makes every later legacy-SSE instruction pay a merge
// with those halves: the program's own arithmetic and ERFA's then run a third slower.
// Qt's application object leaves them so when it starts (and the first show of a
// window does too), and nothing of the program clears them again by itself.  The
// program therefore clears them after Qt starts and at the start of every button's run,
// where the long computations begin.
#pragma once

namespace planova {

// Marks the upper halves of the YMM registers unused (vzeroupper) when the processor
// has AVX; does nothing on other processors.  Costs a few cycles: call it freely before
// a long computation.
void ClearUpperRegisterState();

// Whether the upper halves of the YMM registers are in use now (XINUSE bit 2 of
// XGETBV with ECX = 1): 1 in use, 0 not, -1 when the processor cannot tell.
int UpperRegisterStateInUse();

}  // namespace planova
