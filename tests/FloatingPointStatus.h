#pragma once

// The processor's floating-point status (the sticky exception flags of <cfenv>): the
// reference the curve test holds the curve's value checks to.
namespace lumeno {

// Clears every exception flag.
void clearFloatingPointStatus();

// Which of FE_INVALID, FE_DIVBYZERO and FE_OVERFLOW were raised since the last clearing.
int raisedFloatingPointErrors();

} // namespace lumeno
