#pragma once

#include "support/fixture.h"
#include "support/link_proxy/link_proxy.h"

#include <optional>

// A desk that reaches the test server through a link of its own (support/link_proxy), which the
// test may slow down, count, cut or leave without an answer. db() is the desk's connection
// through the link once SetUp() is over.
class LinkedDeskTest : public DatabaseTest {
protected:
    bool onServer() const override { return true; }
    void SetUp() override;
    void TearDown() override;

    std::optional<LinkProxy> link;
};
