#pragma once

#include "core/BcHttpInterface.h"

#include <memory>

// Makes the downloaders of the classes that fetch files, so that their tests can hand them
// fakes instead of the network.
class BcHttpFactory
{
public:
    virtual ~BcHttpFactory() = default;
    // A BcHttp.
    virtual std::unique_ptr<BcHttpInterface> create() const;
};
