#!/usr/bin/env python3
"""The gallery page in a real browser: `capsule gallery` on about fifty generated templates, opened
in headless Chromium, checked against what `capsule catalogue` finds for the same folder.

Checks: the count equals the catalogue's; `#q=title` and a table of typed searches show exactly the
templates the catalogue's word search finds; every thumbnail in view has decoded and carries the
template's name as its text; cards are buttons, reachable with the keyboard; the detail view shows
the controls; resting the pointer on a card whose preview cannot play leaves its still thumbnail;
the page works from file:// and from a static web server on loopback; the console has no errors. Writes screenshots beside --screenshot for a person to look at.

Exit status 0 passed, 1 failed, 77 skipped (Chromium missing or not starting; under CI=true that
fails instead, so a CI machine never passes without having run the browser).
"""

import argparse
import functools
import http.server
import json
import os
import shutil
import subprocess
import sys
import tempfile
import threading
import urllib.parse
import zipfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import devtools_pipe  # noqa: E402

SKIPPED = 77
SAMPLE_COUNT = 50
WIDE = (1280, 900)
PHONE = (390, 844)

# A template whose name, tags and folder need the index's folding: case, diacritics, scripts
# without case, words joined by punctuation.
SPECIAL_FOLDER = "Spéciaux"
SPECIAL_NAME = "Ça Élégant Ωμέγα 東京-ネオン Straße"
SPECIAL_TAGS = ["Über-Glow", "café crème"]

# Each search is typed into the page and given to the catalogue as one --search per word.
SEARCHES = [
    "TITLE", "tit", "neon glow", "lower-thi", "elegant", "ÉLÉG", "e\u0301le\u0301g", "ca", "ΩΜΈΓΑ", "ωμε", "東京", "ネオン",
    "über-gl", "CAFE cre", "speci", "straße", "strasse", "3", "zzz", "-", "title zzz",
]


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def run(argv, env):
    done = subprocess.run(argv, capture_output=True, text=True, env=env)
    if done.returncode != 0:
        raise Failure("%s failed (%d): %s" % (" ".join(argv), done.returncode, done.stderr.strip()))
    return done.stdout


def add_special_template(templates):
    """A copy of a sample package with a name, tags and folder that only folding can find."""
    source = sorted(p for p in (os.path.join(d, f) for d, _, fs in os.walk(templates) for f in fs)
                    if p.endswith(".tplx"))[0]
    folder = os.path.join(templates, SPECIAL_FOLDER)
    os.makedirs(folder)
    with zipfile.ZipFile(source) as original, \
            zipfile.ZipFile(os.path.join(folder, "special.tplx"), "w", zipfile.ZIP_DEFLATED) as copy:
        for member in original.namelist():
            data = original.read(member)
            if member == "definition.json":
                description = json.loads(data)
                description["capsuleName"] = SPECIAL_NAME
                description["capsuleNameLocalized"] = {"strDB": [{"localeString": "en_US", "str": SPECIAL_NAME}]}
                description["capsuleTags"] = SPECIAL_TAGS
                description["capsuleID"] = "special-template"
                data = json.dumps(description, ensure_ascii=False).encode()
            copy.writestr(member, data)


def catalogue(capsule, templates, words, env):
    argv = [capsule, "catalogue", templates, "--json"]
    for word in words:
        argv += ["--search", word]
    return json.loads(run(argv, env))


# What the page shows: the number in #count and the paths of the cards (all of them are made for a
# collection this small).
SHOWN = """(() => {
  const entries = window.capsuleCatalogue.entries;
  const count = parseInt(document.getElementById('count').textContent.match(/\\d+/)[0], 10);
  const paths = [...document.querySelectorAll('#grid .card')].map((c) => entries[c.dataset.index].path);
  return {count, paths};
})()"""

THUMBNAILS_IN_VIEW = """(() => {
  const entries = window.capsuleCatalogue.entries;
  const images = [...document.querySelectorAll('#grid img')].filter((image) => {
    const box = image.getBoundingClientRect();
    return box.bottom > 0 && box.top < window.innerHeight && box.right > 0 && box.left < window.innerWidth;
  });
  return {
    count: images.length,
    complete: images.filter((image) => image.complete).length,
    decoded: images.filter((image) => image.complete && image.naturalWidth > 0).length,
    named: images.filter((image) => image.alt === entries[image.closest('.card').dataset.index].name).length,
  };
})()"""


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def type_search(browser, page, text):
    browser.evaluate(page, "document.getElementById('search').focus(); document.getElementById('search').select()")
    if text:
        browser.call("Input.insertText", {"text": text}, session=page)
    else:
        browser.evaluate(page, "const box = document.getElementById('search'); box.value = '';"
                               " box.dispatchEvent(new Event('input'))")


def expect_search(browser, page, found, text):
    shown = browser.evaluate(page, SHOWN)
    check(shown["count"] == len(found["matches"]),
          "search %r: the page counts %d, the catalogue finds %d" % (text, shown["count"], len(found["matches"])))
    check(sorted(shown["paths"]) == sorted(found["matches"]),
          "search %r: the page shows %s, the catalogue finds %s" % (text, sorted(shown["paths"]), found["matches"]))


def click(browser, page, selector):
    box = browser.evaluate(page, """(() => {
      const target = document.querySelector(%s);
      target.scrollIntoView({block: 'center'});
      const box = target.getBoundingClientRect();
      return {x: box.left + box.width / 2, y: box.top + box.height / 2};
    })()""" % json.dumps(selector))
    for kind in ("mouseMoved", "mousePressed", "mouseReleased"):
        browser.call("Input.dispatchMouseEvent", {"type": kind, "x": box["x"], "y": box["y"], "button": "left",
                                                  "clickCount": 1}, session=page)


def press(browser, page, key, code, keycode):
    for kind in ("keyDown", "keyUp"):
        browser.call("Input.dispatchKeyEvent", {"type": kind, "key": key, "code": code,
                                                "windowsVirtualKeyCode": keycode}, session=page)


def check_page(browser, capsule, templates, site, screenshot, env):
    everything = catalogue(capsule, templates, [], env)
    index = "file://" + urllib.parse.quote(os.path.join(site, "index.html"))
    page = browser.open_page(*WIDE)
    ready = "document.readyState === 'complete' && !!document.querySelector('#grid .card')"

    # The whole collection, counted as the catalogue counts it.
    browser.navigate(page, index)
    browser.wait_until(page, ready, "the cards")
    shown = browser.evaluate(page, SHOWN)
    check(shown["count"] == everything["total"] == len(everything["entries"]),
          "the page counts %d templates, the catalogue %d" % (shown["count"], everything["total"]))
    check(len(shown["paths"]) == shown["count"], "%d cards for %d templates" % (len(shown["paths"]), shown["count"]))

    # Every thumbnail in view decoded, named by its template.
    browser.wait_until(page, "(() => { const t = %s; return t.count > 0 && t.complete === t.count; })()"
                       % THUMBNAILS_IN_VIEW, "the thumbnails in view")
    thumbnails = browser.evaluate(page, THUMBNAILS_IN_VIEW)
    check(thumbnails["decoded"] == thumbnails["count"], "thumbnails in view not decoded: %s" % thumbnails)
    check(thumbnails["named"] == thumbnails["count"], "thumbnails without their template's name: %s" % thumbnails)
    check(browser.evaluate(page, "[...document.querySelectorAll('.card')].every((c) => c.tagName === 'BUTTON'"
                                 " && c.tabIndex === 0)"), "cards are not keyboard-reachable buttons")
    browser.screenshot(page, screenshot)

    # A shared search: the query in the address fills the search box as the page loads.
    browser.navigate(page, "about:blank")
    browser.navigate(page, index + "#q=title")
    browser.wait_until(page, "document.readyState === 'complete' && document.getElementById('search').value"
                             " === 'title'", "the search from the address")
    expect_search(browser, page, catalogue(capsule, templates, ["title"], env), "#q=title")

    # Searches typed into the box, word for word what the catalogue's index finds.
    for text in SEARCHES:
        type_search(browser, page, text)
        expect_search(browser, page, catalogue(capsule, templates, text.split(), env), text)
    type_search(browser, page, "")
    check(browser.evaluate(page, SHOWN)["count"] == everything["total"], "clearing the search shows everything")

    # The pointer resting on a card whose preview is a placeholder: the still thumbnail stays.
    with_preview = [i for i, e in enumerate(everything["entries"]) if e["videoPreviewPath"]]
    check(with_preview, "no sample template has a video preview")
    selector = ".card[data-index='%d']" % with_preview[0]
    box = browser.evaluate(page, "(() => { const c = document.querySelector(%s); c.scrollIntoView({block: 'center'});"
                                 " const b = c.getBoundingClientRect(); return {x: b.left + b.width / 2,"
                                 " y: b.top + b.height / 3}; })()" % json.dumps(selector))
    browser.call("Input.dispatchMouseEvent", {"type": "mouseMoved", "x": box["x"], "y": box["y"]}, session=page)
    browser.wait_until(page, "(() => { const v = document.querySelector(%s + ' video');"
                             " return !v || v.classList.contains('playing'); })()" % json.dumps(selector),
                       "the preview to play or give up")
    check(browser.evaluate(page, "document.querySelector(%s + ' img').naturalWidth > 0" % json.dumps(selector)),
          "the still thumbnail went away under the pointer")
    browser.call("Input.dispatchMouseEvent", {"type": "mouseMoved", "x": 1, "y": 1}, session=page)

    # The detail view of the template with the most controls.
    with open(os.path.join(site, "catalogue.json"), encoding="utf-8") as file:
        written = json.load(file)["entries"]
    first = max(range(len(written)), key=lambda i: len(written[i]["controls"]))
    click(browser, page, ".card[data-index='%d']" % first)
    browser.wait_until(page, "document.getElementById('detail').open", "the detail view")
    controls = browser.evaluate(page, """(() => {
      const section = document.getElementById('detail-controls');
      const rows = [...section.querySelectorAll('tbody tr')].map((r) => [...r.cells].map((c) => c.textContent));
      return {visible: !section.hidden && section.getBoundingClientRect().height > 0, rows,
              name: document.getElementById('detail-name').textContent};
    })()""")
    check(controls["visible"] and controls["rows"], "the detail view shows no controls: %s" % controls)
    check(controls["name"] == everything["entries"][first]["name"], "the detail view names another template")
    check(all(len(row) == 3 and row[1] for row in controls["rows"]), "a control without its kind: %s" % controls)
    browser.screenshot(page, screenshot.replace(".png", "-detail.png"))
    press(browser, page, "Escape", "Escape", 27)
    browser.wait_until(page, "!document.getElementById('detail').open", "Escape to close the detail view")

    # The same site from a static web server on loopback.
    handler = functools.partial(QuietHandler, directory=site)
    with http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler) as server:
        threading.Thread(target=server.serve_forever, daemon=True).start()
        browser.navigate(page, "http://127.0.0.1:%d/index.html#q=title" % server.server_address[1])
        browser.wait_until(page, ready, "the cards from a web server")
        expect_search(browser, page, catalogue(capsule, templates, ["title"], env), "#q=title from a web server")
        # Everything the page asks for has arrived, and it asks for nothing more, before the server stops.
        browser.wait_until(page, "performance.getEntriesByName('gallery-details').length > 0 && (() => {"
                                 " const t = %s; return t.complete === t.count; })()" % THUMBNAILS_IN_VIEW,
                           "the page to load everything from the web server")
        browser.navigate(page, "about:blank")
        server.shutdown()

    # The same page at a phone's width, for a person to look at.
    browser.resize(page, *PHONE, mobile=True)
    browser.navigate(page, index)
    browser.wait_until(page, ready, "the cards at a phone's width")
    browser.wait_until(page, "(() => { const t = %s; return t.count > 0 && t.complete === t.count; })()"
                       % THUMBNAILS_IN_VIEW, "the thumbnails at a phone's width")
    check(browser.evaluate(page, "document.documentElement.scrollWidth <= window.innerWidth"),
          "the page is wider than a phone's screen")
    browser.screenshot(page, screenshot.replace(".png", "-phone.png"))

    browser.drain()
    errors = browser.errors()
    check(not errors, "the console reported errors:\n  " + "\n  ".join(errors))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--capsule", required=True)
    parser.add_argument("--work", required=True, help="a folder for the templates and the site, made anew")
    parser.add_argument("--screenshot", required=True, help="where to write the screenshot (PNG)")
    args = parser.parse_args()

    args.work = os.path.abspath(args.work)
    shutil.rmtree(args.work, ignore_errors=True)
    os.makedirs(args.work)
    templates = os.path.join(args.work, "templates")
    site = os.path.join(args.work, "site")
    temporary = tempfile.mkdtemp(prefix="gallery-test-", dir=args.work)
    env = dict(os.environ, TMPDIR=temporary, LC_ALL="C.UTF-8")

    try:
        run([args.capsule, "samples", templates, "--count", str(SAMPLE_COUNT)], env)
        add_special_template(templates)
        run([args.capsule, "gallery", templates, "--out", site, "--title", "Sample templates"], env)
        browser = devtools_pipe.Browser()
    except devtools_pipe.BrowserUnavailable as error:
        if os.environ.get("CI") == "true":
            print("FAILED: the browser test must run under CI: %s" % error)
            return 1
        print("SKIPPED: %s" % error)
        return SKIPPED
    except Failure as error:
        print("FAILED: %s" % error)
        return 1
    try:
        check_page(browser, args.capsule, templates, site, os.path.abspath(args.screenshot), env)
    except (Failure, AssertionError, TimeoutError, RuntimeError) as error:
        print("FAILED: %s" % error)
        return 1
    finally:
        browser.close()
    print("passed; screenshots: %s" % args.screenshot)
    return 0


if __name__ == "__main__":
    sys.exit(main())
