#include "testkit/testmain.hpp"

// Each test file makes its class.
QObject *widthTests(), *gridModelTests(), *durnakGridTests(), *groupGridTests(), *excelTests();

DURNAK_TEST_MAIN(widthTests, gridModelTests, durnakGridTests, groupGridTests, excelTests)
