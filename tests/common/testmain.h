#pragma once

#include "model/programobjects.h"

#include <QTest>

// The main of a test program that uses the program's shared objects: like QTEST_MAIN and
// QTEST_GUILESS_MAIN, and after the application object it makes the shared objects as each
// program's start-up does, so that they end before the application object.
#define VANDRA_TEST_MAIN(TestObject)                                                               \
    QTEST_MAIN_WRAPPER(TestObject, QTEST_MAIN_SETUP() const Vandra::ProgramObjects objects;)
#define VANDRA_GUILESS_TEST_MAIN(TestObject)                                                       \
    QTEST_MAIN_WRAPPER(TestObject,                                                                 \
                       QTEST_QAPP_SETUP(QCoreApplication) const Vandra::ProgramObjects objects;)
