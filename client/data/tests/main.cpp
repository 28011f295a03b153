#include <QCoreApplication>

int runNumberFormatTests(int argc, char** argv);
int runClientDataSetTests(int argc, char** argv);
int runDataSetHelperTests(int argc, char** argv);
int runDataSetModelTests(int argc, char** argv);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    int failures = 0;
    failures += runNumberFormatTests(argc, argv);
    failures += runClientDataSetTests(argc, argv);
    failures += runDataSetHelperTests(argc, argv);
    failures += runDataSetModelTests(argc, argv);
    return failures == 0 ? 0 : 1;
}
