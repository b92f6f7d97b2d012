#include "ui_test_support.h"

namespace trevanto::test {

QApplication& TestApplication() {
    static int argc = 1;
    static char name[] = "ui_tests";
    static char* argv[] = {name, nullptr};
    // Never destroyed: input devices made by the tests go away with the
    // process, after static destructors that they would otherwise outlive.
    static QApplication* application = new QApplication(argc, argv);
    return *application;
}

}  // namespace trevanto::test
