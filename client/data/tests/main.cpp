#include "testkit/testmain.hpp"

// Each test file makes its class.
QObject *numberFormatTests(), *clientDataSetTests(), *dataSetHelperTests(), *dataSetModelTests();

DURNAK_TEST_MAIN(numberFormatTests, clientDataSetTests, dataSetHelperTests, dataSetModelTests)
