#pragma once

#include "test_support/log_capture.h"
#include "test_support/signal_recorder.h"
#include "test_support/wait.h"

namespace proxy_test
{

using test_support::LogCapture;
using test_support::SignalRecorder;
using test_support::waitUntil;

}  // namespace proxy_test
