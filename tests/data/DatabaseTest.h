#pragma once

#include "Connection.h"
#include "TestDatabase.h"

#include <gtest/gtest.h>

namespace precivox {

// A fresh database per test and a connection to it, not yet opened.
class DatabaseTest : public ::testing::Test {
protected:
    test::TestDatabase db;
    Connection connection{db.parameters()};
};

} // namespace precivox
