// Builds the print tests' shared helpers (PDF readers, CLI runner, analytic types) into the forms test program.
#include "print/PrintTestSupport.cpp"
