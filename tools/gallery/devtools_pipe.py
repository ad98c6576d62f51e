"""A headless Chromium driven over its DevTools protocol through a pipe (no port, no network).

Shared by the gallery's browser test and its speed measurement. Chromium reads commands from file
descriptor 3 and writes replies and events to descriptor 4, each message a JSON text ended by a NUL
byte. One page is opened and attached in flat session mode, so every call names its session.
"""

import fcntl
import json
import os
import select
import shutil
import subprocess
import tempfile
import time

BROWSER_NAMES = ("chromium", "chromium-browser")
BROWSER_FLAGS = (
    "--headless",
    "--no-sandbox",
    "--disable-gpu",
    "--disable-background-networking",
    "--disable-component-update",
    "--no-first-run",
    "--disable-sync",
    "--disable-default-apps",
    "--mute-audio",
    "--remote-debugging-pipe",
)


class BrowserUnavailable(Exception):
    """Chromium is not installed or did not answer."""


def find_browser():
    for name in BROWSER_NAMES:
        path = shutil.which(name)
        if path:
            return path
    raise BrowserUnavailable("no Chromium found (looked for %s)" % ", ".join(BROWSER_NAMES))


def _high_fd(fd):
    """A close-on-exec copy of fd numbered 10 or above, so that 3 and 4 stay free in the child."""
    copy = fcntl.fcntl(fd, fcntl.F_DUPFD_CLOEXEC, 10)
    os.close(fd)
    return copy


class Browser:
    def __init__(self, start_timeout=60.0):
        browser = find_browser()
        self.profile = tempfile.mkdtemp(prefix="gallery-chromium-")
        commands_read, self._commands = (_high_fd(fd) for fd in os.pipe())
        self._replies, replies_write = (_high_fd(fd) for fd in os.pipe())

        def attach_pipe():
            os.dup2(commands_read, 3)
            os.dup2(replies_write, 4)

        argv = [browser, *BROWSER_FLAGS, "--user-data-dir=" + self.profile, "about:blank"]
        self.log = open(os.path.join(self.profile, "browser.log"), "wb")
        self.process = subprocess.Popen(argv, stdin=subprocess.DEVNULL, stdout=self.log, stderr=self.log,
                                        close_fds=False, preexec_fn=attach_pipe)
        os.close(commands_read)
        os.close(replies_write)
        self._buffer = b""
        self._next_id = 0
        self.events = []
        try:
            self.call("Browser.getVersion", timeout=start_timeout)
        except (BrowserUnavailable, OSError, TimeoutError) as error:
            self.log.flush()
            with open(self.log.name, "rb") as log:
                said = log.read()[-600:].decode(errors="replace").strip()
            self.close()
            raise BrowserUnavailable("Chromium did not start (%s)%s" % (error, ": " + said if said else ""))

    # ---- messages ----

    def _send(self, message):
        data = json.dumps(message).encode() + b"\0"
        while data:
            data = data[os.write(self._commands, data):]

    def _receive(self, deadline):
        while b"\0" not in self._buffer:
            remaining = deadline - time.monotonic()
            if remaining <= 0:
                raise TimeoutError("no answer from Chromium")
            ready, _, _ = select.select([self._replies], [], [], remaining)
            if not ready:
                continue
            chunk = os.read(self._replies, 1 << 20)
            if not chunk:
                raise BrowserUnavailable("Chromium closed its pipe")
            self._buffer += chunk
        text, self._buffer = self._buffer.split(b"\0", 1)
        return json.loads(text)

    def call(self, method, params=None, session=None, timeout=60.0):
        self._next_id += 1
        message = {"id": self._next_id, "method": method, "params": params or {}}
        if session:
            message["sessionId"] = session
        self._send(message)
        deadline = time.monotonic() + timeout
        while True:
            reply = self._receive(deadline)
            if reply.get("id") != self._next_id:
                self.events.append(reply)
                continue
            if "error" in reply:
                raise RuntimeError("%s failed: %s" % (method, reply["error"]))
            return reply.get("result", {})

    def wait_event(self, method, session, timeout=60.0):
        deadline = time.monotonic() + timeout
        while True:
            for index, event in enumerate(self.events):
                if event.get("method") == method and event.get("sessionId") == session:
                    return self.events.pop(index)
            self.events.append(self._receive(deadline))

    def drain(self):
        """Reads the events already sent, so that none is missed by a check that follows."""
        self.call("Browser.getVersion")

    # ---- one page ----

    def open_page(self, width, height):
        target = self.call("Target.createTarget", {"url": "about:blank"})["targetId"]
        session = self.call("Target.attachToTarget", {"targetId": target, "flatten": True})["sessionId"]
        for domain in ("Page", "Runtime", "Log"):
            self.call(domain + ".enable", session=session)
        self.resize(session, width, height)
        return session

    def resize(self, session, width, height, mobile=False):
        self.call("Emulation.setDeviceMetricsOverride",
                  {"width": width, "height": height, "deviceScaleFactor": 1, "mobile": mobile}, session=session)

    def navigate(self, session, url, timeout=60.0):
        self.events = [e for e in self.events if e.get("method") != "Page.loadEventFired"]
        started = self.call("Page.navigate", {"url": url}, session=session)
        # A change of the fragment alone loads nothing: it has no loader and no load event.
        if started.get("loaderId"):
            self.wait_event("Page.loadEventFired", session, timeout)

    def evaluate(self, session, expression):
        result = self.call("Runtime.evaluate", {"expression": expression, "returnByValue": True,
                                                "awaitPromise": True}, session=session)
        if "exceptionDetails" in result:
            raise RuntimeError("script failed: %s" % result["exceptionDetails"])
        return result["result"].get("value")

    def wait_until(self, session, expression, what, timeout=60.0):
        """Polls a script until it returns a true value; generous limits, never a pass by time."""
        deadline = time.monotonic() + timeout
        while True:
            value = self.evaluate(session, expression)
            if value:
                return value
            if time.monotonic() > deadline:
                raise AssertionError("gave up waiting for %s" % what)
            time.sleep(0.05)

    def screenshot(self, session, path):
        import base64
        data = self.call("Page.captureScreenshot", {"format": "png"}, session=session)["data"]
        with open(path, "wb") as file:
            file.write(base64.b64decode(data))

    def errors(self):
        """The console errors, uncaught exceptions and failed loads seen so far, as texts."""
        found = []
        for event in self.events:
            method, params = event.get("method"), event.get("params", {})
            if method == "Runtime.exceptionThrown":
                found.append("exception: %s" % params["exceptionDetails"].get("exception", {}).get(
                    "description", params["exceptionDetails"].get("text")))
            elif method == "Runtime.consoleAPICalled" and params.get("type") in ("error", "assert"):
                found.append("console.%s: %s" % (params["type"], [a.get("value") for a in params.get("args", [])]))
            elif method == "Log.entryAdded" and params["entry"].get("level") == "error":
                found.append("log: %s %s" % (params["entry"].get("text"), params["entry"].get("url", "")))
        return found

    def close(self):
        try:
            if self.process.poll() is None:
                try:
                    self.call("Browser.close", timeout=10)
                except Exception:
                    pass
                try:
                    self.process.wait(timeout=20)
                except subprocess.TimeoutExpired:
                    self.process.kill()
                    self.process.wait()
        finally:
            for fd in (self._commands, self._replies):
                try:
                    os.close(fd)
                except OSError:
                    pass
            self.log.close()
            shutil.rmtree(self.profile, ignore_errors=True)
