"""Log records of the batch operations, as they reach Python's logging through the bridge."""

import json
import logging
import os
import threading
import time

import pytest

from conftest import flight_fare
from vesk_fares_to_xml import Converter

GOOGLE = "vesk_fares_to_xml.converter_google"

# Every sample fare flies to JFK, which has an image: no "No image url" record.
FLIGHT_SETTINGS = ("Title", "https://example.com/feed", {"JFK": "jfk.jpg"}, "default.jpg", "/{{origin_iata}}")

# Batch method -> (logger name, arguments after the fare list).
BATCH_METHODS = {
    "fares_to_facebook": ("vesk_fares_to_xml.converter", FLIGHT_SETTINGS),
    "fares_to_google_xml": (GOOGLE, FLIGHT_SETTINGS),
    "fares_to_criteo_xml": ("vesk_fares_to_xml.converter_criteo", FLIGHT_SETTINGS),
    "fares_to_get_blue_xml": ("vesk_fares_to_xml.converter_get_blue", FLIGHT_SETTINGS),
    "fares_to_vp_facebook_xml": ("vesk_fares_to_xml.converter_vp_facebook", ("t", "d")),
}
GOOGLE_SETTINGS = BATCH_METHODS["fares_to_google_xml"][1]


class Collect(logging.Handler):
    def __init__(self):
        super().__init__(logging.NOTSET)
        self.records = []

    def emit(self, record):
        self.records.append(record)

    @property
    def seen(self):
        return [(record.name, record.levelno, record.getMessage()) for record in self.records]


@pytest.fixture
def google_logger():
    """The Google feed's logger, open at every level, given back as it was found."""
    logger = logging.getLogger(GOOGLE)
    level, handlers = logger.level, list(logger.handlers)
    logger.setLevel(logging.DEBUG)
    yield logger
    logger.setLevel(level)
    logger.handlers[:] = handlers


@pytest.fixture
def collect(google_logger):
    handler = Collect()
    google_logger.addHandler(handler)
    return handler


def test_records_of_a_successful_batch(converter, collect, one_fare_list):
    converter.fares_to_google_xml(one_fare_list, *GOOGLE_SETTINGS)
    assert collect.seen == [
        (GOOGLE, logging.INFO, "Parsed 1 fare objects"),
        (GOOGLE, logging.INFO, "Processed xml feeds items: 1"),
    ]


def test_records_of_a_failed_read_carry_the_finished_message(converter, collect):
    text = "not json %s %d %(name)s"
    with pytest.raises(OSError) as raised:
        converter.fares_to_google_xml(text, *GOOGLE_SETTINGS)
    assert collect.seen == [
        (GOOGLE, logging.ERROR, f"Error parsing json: {raised.value}"),
        (GOOGLE, logging.ERROR, f"Json string: {text}"),
    ]
    for record in collect.records:
        assert record.args == () and record.msg == record.getMessage()
        assert record.exc_info is None


@pytest.mark.parametrize("method", BATCH_METHODS)
def test_each_feed_logs_to_its_own_logger(converter, method):
    name, settings = BATCH_METHODS[method]
    handler = Collect()
    logger = logging.getLogger(name)
    logger.addHandler(handler)
    try:
        with pytest.raises(OSError):
            getattr(converter, method)("", *settings)
    finally:
        logger.removeHandler(handler)
    assert [(record.name, record.levelno) for record in handler.records] == [(name, logging.ERROR)] * 2
    assert handler.seen[0][2] == "Error parsing json: EOF while parsing a value at line 1 column 0"


def test_records_are_made_by_make_record_and_passed_to_handle(converter, google_logger, monkeypatch):
    made, handled = [], []
    original_make_record, original_handle = google_logger.makeRecord, google_logger.handle

    def make_record(*args, **kwargs):
        record = original_make_record(*args, **kwargs)
        made.append((args, kwargs, record))
        return record

    def handle(record):
        handled.append(record)
        return original_handle(record)

    monkeypatch.setattr(google_logger, "makeRecord", make_record)
    monkeypatch.setattr(google_logger, "handle", handle)
    converter.fares_to_google_xml("[]", *GOOGLE_SETTINGS)

    assert [record for _, _, record in made] == handled and len(handled) == 2
    for (args, kwargs, _), message in zip(made, ["Parsed 0 fare objects", "Processed xml feeds items: 0"]):
        name, level, path, line, msg, msg_args, exc_info = args
        assert (name, level, msg, msg_args, exc_info, kwargs) == (GOOGLE, logging.INFO, message, (), None, {})
        # The source file and line of the log call in the core.
        assert os.path.basename(path).endswith((".cpp", ".hpp"))
        assert isinstance(line, int) and line > 0


@pytest.fixture
def narrowed(request, google_logger, monkeypatch):
    """Makes the Google logger refuse Info records in one of the ways logging offers."""
    parent = logging.getLogger("vesk_fares_to_xml")
    if request.param == "logger level":
        google_logger.setLevel(logging.WARNING)
    elif request.param == "inherited level":
        google_logger.setLevel(logging.NOTSET)
        monkeypatch.setattr(parent, "level", logging.ERROR)
        parent.manager._clear_cache()
        yield
        parent.manager._clear_cache()
        return
    elif request.param == "logging.disable":
        logging.disable(logging.INFO)
        yield
        logging.disable(logging.NOTSET)
        return
    yield


@pytest.mark.parametrize("narrowed", ["logger level", "inherited level", "logging.disable"], indirect=True)
def test_is_enabled_for_is_asked_for_every_record(converter, collect, google_logger, narrowed):
    converter.fares_to_google_xml("[]", *GOOGLE_SETTINGS)
    with pytest.raises(OSError):
        converter.fares_to_google_xml("", *GOOGLE_SETTINGS)
    assert [level for _, level, _ in collect.seen] == [logging.ERROR, logging.ERROR]


def test_widening_the_level_again_lets_info_records_through(converter, collect, google_logger):
    google_logger.setLevel(logging.ERROR)
    converter.fares_to_google_xml("[]", *GOOGLE_SETTINGS)
    google_logger.setLevel(logging.INFO)
    converter.fares_to_google_xml("[]", *GOOGLE_SETTINGS)
    assert [message for _, _, message in collect.seen] == ["Parsed 0 fare objects", "Processed xml feeds items: 0"]


def test_most_verbose_level_is_kept_from_the_first_record(run_python):
    result = run_python(
        """
        import json, logging
        import vesk_fares_to_xml

        class CountingLogger(logging.Logger):
            asked = []

            def isEnabledFor(self, level):
                CountingLogger.asked.append([self.name, level])
                return super().isEnabledFor(level)

        logging.setLoggerClass(CountingLogger)
        delivered = []

        class Collect(logging.Handler):
            def emit(self, record):
                delivered.append([record.name, record.levelno, record.getMessage()])

        google = logging.getLogger("vesk_fares_to_xml.converter_google")
        criteo = logging.getLogger("vesk_fares_to_xml.converter_criteo")
        for logger in (google, criteo):
            logger.addHandler(Collect())
        google.setLevel(logging.WARNING)
        criteo.setLevel(logging.INFO)

        converter = vesk_fares_to_xml.Converter(1)
        settings = ("t", "d", {}, "i", "l")
        converter.fares_to_google_xml("[]", *settings)  # the first Google record: Warn is kept
        converter.fares_to_criteo_xml("[]", *settings)  # the first Criteo record: Info is kept
        google.setLevel(logging.DEBUG)
        CountingLogger.asked.clear()
        converter.fares_to_google_xml("[]", *settings)
        converter.fares_to_criteo_xml("[]", *settings)
        try:
            converter.fares_to_google_xml("", *settings)
        except OSError:
            pass
        print(json.dumps({"delivered": delivered, "asked": CountingLogger.asked}))
        """
    )
    assert result.returncode == 0, result.stderr
    outcome = json.loads(result.stdout)
    google, criteo = "vesk_fares_to_xml.converter_google", "vesk_fares_to_xml.converter_criteo"
    assert outcome["delivered"] == [
        [criteo, 20, "Parsed 0 fare objects"],
        [criteo, 20, "Processed xml feeds items: 0"],
        [criteo, 20, "Parsed 0 fare objects"],
        [criteo, 20, "Processed xml feeds items: 0"],
        [google, 40, "Error parsing json: EOF while parsing a value at line 1 column 0"],
        [google, 40, "Json string: "],
    ]
    # After its first record, Google's Info records were dropped without asking its logger.
    assert outcome["asked"] == [[criteo, 20], [criteo, 20], [google, 40], [google, 40]]


class Boom(RuntimeError):
    pass


@pytest.mark.parametrize("where", ["isEnabledFor", "makeRecord", "handle", "handler", "filter"])
def test_python_exception_is_printed_and_the_call_goes_on(converter, google_logger, collect, monkeypatch, capsys, where, one_fare_list):
    raised = []

    def boom_once(original):
        def wrapper(*args, **kwargs):
            if not raised:
                raised.append(where)
                raise Boom(f"boom in {where}")
            return original(*args, **kwargs)

        return wrapper

    if where in ("isEnabledFor", "makeRecord", "handle"):
        monkeypatch.setattr(google_logger, where, boom_once(getattr(google_logger, where)))
    elif where == "handler":
        monkeypatch.setattr(collect, "emit", boom_once(collect.emit))
    else:
        google_logger.addFilter(boom_once(lambda record: True))

    document = converter.fares_to_google_xml(one_fare_list, *GOOGLE_SETTINGS)

    assert "<listing>" in document
    assert raised == [where]
    assert collect.seen == [(GOOGLE, logging.INFO, "Processed xml feeds items: 1")]
    stderr = capsys.readouterr().err
    assert "Traceback" in stderr and f"Boom: boom in {where}" in stderr


def test_handler_may_call_the_converter_again(converter, google_logger, collect, one_fare_list):
    two_fares = json.dumps([flight_fare("F1"), flight_fare("F2")])
    nested = []

    class CallAgain(logging.Handler):
        def emit(self, record):
            if not nested:
                nested.append(None)
                nested[0] = converter.fares_to_google_xml(two_fares, *GOOGLE_SETTINGS)

    google_logger.addHandler(CallAgain())
    document = converter.fares_to_google_xml(one_fare_list, *GOOGLE_SETTINGS)

    assert document.count("<listing>") == 1
    assert nested[0].count("<listing>") == 2
    # The nested call ran while the outer record was being handled.
    assert [message for _, _, message in collect.seen] == [
        "Parsed 1 fare objects",
        "Parsed 2 fare objects",
        "Processed xml feeds items: 2",
        "Processed xml feeds items: 1",
    ]


def test_first_records_of_other_feeds_logged_from_inside_a_handler(run_python):
    result = run_python(
        """
        import json, logging
        import vesk_fares_to_xml

        logging.getLogger("vesk_fares_to_xml").setLevel(logging.INFO)
        converter = vesk_fares_to_xml.Converter(1)
        settings = ("t", "d", {}, "i", "l")
        delivered = []
        documents = []

        class Collect(logging.Handler):
            def emit(self, record):
                delivered.append(record.name.rpartition(".")[2] + ": " + record.getMessage())

        class CallOtherFeeds(logging.Handler):
            def emit(self, record):
                if not documents:
                    documents.append(converter.fares_to_facebook("[]", *settings))
                    documents.append(converter.fares_to_criteo_xml("[]", *settings))
                    documents.append(converter.fares_to_get_blue_xml("[]", *settings))
                    documents.append(converter.fares_to_vp_facebook_xml("[]", "t", "d"))

        logging.getLogger("vesk_fares_to_xml").addHandler(Collect())
        logging.getLogger("vesk_fares_to_xml.converter_google").addHandler(CallOtherFeeds())
        documents.append(converter.fares_to_google_xml("[]", *settings))
        print(json.dumps({"delivered": delivered, "documents": len(documents)}))
        """
    )
    assert result.returncode == 0, result.stderr
    outcome = json.loads(result.stdout)
    assert outcome["documents"] == 5
    # The Google logger's own handler runs before the handler of its parent collects the record.
    assert outcome["delivered"] == [
        "converter: Parsed 0 fare objects",
        "converter: Processed xml feeds items: 0",
        "converter_criteo: Parsed 0 fare objects",
        "converter_criteo: Processed xml feeds items: 0",
        "converter_get_blue: Parsed 0 fare objects",
        "converter_get_blue: Processed xml feeds items: 0",
        "converter_vp_facebook: Parsed 0 fare objects",
        "converter_vp_facebook: Processed xml vp_fb package feeds items: 0",
        "converter_google: Parsed 0 fare objects",
        "converter_google: Processed xml feeds items: 0",
    ]


def test_handlers_that_release_the_gil_while_other_threads_log(converter, google_logger, collect, one_fare_list):
    class Sleepy(logging.Handler):
        def emit(self, record):
            time.sleep(0.001)

    google_logger.addHandler(Sleepy())
    expected = converter.fares_to_google_xml(one_fare_list, *GOOGLE_SETTINGS)
    del collect.records[:]
    documents = []

    def work():
        for _ in range(5):
            documents.append(converter.fares_to_google_xml(one_fare_list, *GOOGLE_SETTINGS))

    threads = [threading.Thread(target=work) for _ in range(4)]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()

    assert documents == [expected] * 20
    messages = [message for _, _, message in collect.seen]
    assert sorted(messages) == ["Parsed 1 fare objects"] * 20 + ["Processed xml feeds items: 1"] * 20


@pytest.mark.parametrize("exception", ["SystemExit(3)", "KeyboardInterrupt()"])
def test_exit_raised_by_a_handler_is_printed_and_does_not_end_the_process(run_python, exception):
    result = run_python(
        f"""
        import logging
        import vesk_fares_to_xml

        class Leave(logging.Handler):
            def emit(self, record):
                raise {exception}

        logger = logging.getLogger("vesk_fares_to_xml.converter_google")
        logger.setLevel(logging.INFO)
        logger.addHandler(Leave())
        document = vesk_fares_to_xml.Converter(1).fares_to_google_xml("[]", "t", "d", {{}}, "i", "l")
        print(document.endswith("</listings>"))
        """
    )
    assert result.returncode == 0, result.stderr
    assert result.stdout == "True\n"
    assert result.stderr.count("Traceback") == 2  # one per record: "Parsed ..." and "Processed ..."
