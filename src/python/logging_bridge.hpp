// The logging bridge: the log::Sink that hands the core's log records to Python's `logging`.
//
// A record of target "vesk_fares_to_xml::converter_google" goes to the logger
// "vesk_fares_to_xml.converter_google" at level Error 40, Warn 30, Info 20 or Debug 10; Trace
// records are dropped before they reach Python. From a target's first record on, the bridge
// keeps its logger and the most verbose level that logger was enabled for at that moment: more
// verbose records are dropped without asking Python, every other one is tested with
// `isEnabledFor`, built with `makeRecord` (with the source file and line of the log call and
// the finished message) and passed to `handle`. A Python exception raised on that path is
// printed as an uncaught exception is printed (a SystemExit included, which never ends the
// process from here), and the call that logged goes on.
#pragma once

namespace vesk::python {

// Installs the bridge for the rest of the process; later calls do nothing. Imports `logging`:
// when that fails, raises ImportError "Failed to initialize python logging: ..." (with the
// failure as its cause) and returns false.
[[nodiscard]] bool install_logging_bridge();

}  // namespace vesk::python
