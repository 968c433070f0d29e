#pragma once

// The floating-point status (the sticky exception flags of <cfenv>) as the curve's error
// tests use it.
namespace lumeno {

// Clears every exception flag.
void clearFloatingPointStatus();

// Which of FE_INVALID, FE_DIVBYZERO and FE_OVERFLOW were raised since the last clearing.
int raisedFloatingPointErrors();

} // namespace lumeno
