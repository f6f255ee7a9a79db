#pragma once
// What every host test program includes and names without qualification.
#include "GlimError.h"
#include "HostTestUtil.h"
#include "Text.h"
#include "raised.h"

#include <gtest/gtest.h>

using namespace glim::host;
using namespace hosttest;
using glim::CallMethod;
using glim::ComPtr;
using glim::GetProperty;
using glim::PutProperty;
using glim::Variant;
