#include "ui_test_support.h"

namespace trevanto::test {

QApplication& TestApplication() {
    static int argc = 1;
    static char name[] = "ui_tests";
    static char* argv[] = {name, nullptr};
    static QApplication application(argc, argv);
    return application;
}

}  // namespace trevanto::test
