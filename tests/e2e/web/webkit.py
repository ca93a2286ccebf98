#!/usr/bin/python3
"""The page in WebKit, the engine of Safari: WebKitGTK's MiniBrowser driven
by WebKitWebDriver (Debian's webkit2gtk-driver) through Selenium, on an X
server (make test-web runs it under xvfb-run). The shorter run of the other
engines (engines.test.mjs): the splash, then the main window; a design typed
key by key; the key filter; the port area insert. Keys go through WebKit's
own input path.

VENTBOX_PAGE names the page, VENTBOX_TABLES the shared tables (tables.json).
"""

import glob
import json
import os
import time
import unittest
import warnings

from selenium import webdriver
from selenium.webdriver.common.by import By
from selenium.webdriver.support.ui import WebDriverWait

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "../../.."))
PAGE = os.path.abspath(os.environ.get("VENTBOX_PAGE", os.path.join(ROOT, "build-web/ventbox.html")))
with open(os.environ.get("VENTBOX_TABLES", os.path.join(ROOT, "build-web/tables.json")),
          encoding="utf-8") as f:
    TABLES = json.load(f)
# Debian's Selenium warns of its own deprecated parts, which its WebKitGTK
# driver still uses.
warnings.filterwarnings("ignore", category=DeprecationWarning, module="selenium")
INPUTS = ["Form1-" + n for n in ("Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "Edit10", "Edit6")]


def minibrowser():
    found = sorted(glob.glob("/usr/lib/*/webkit2gtk-4.*/MiniBrowser"))
    if not found:
        raise unittest.SkipTest("WebKitGTK's MiniBrowser is not installed (scripts/install-deps web)")
    return found[-1]


class WebKitPage(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        options = webdriver.WebKitGTKOptions()
        options.binary_location = minibrowser()
        options.add_argument("--automation")
        cls.driver = webdriver.WebKitGTK(executable_path="/usr/bin/WebKitWebDriver",
                                         options=options)
        cls.started = time.monotonic()
        cls.driver.get("file://" + PAGE)

    @classmethod
    def tearDownClass(cls):
        cls.driver.quit()

    def shown(self, element_id):
        return self.driver.execute_script(
            "const e = document.getElementById(arguments[0]);"
            "return !!e && !e.hidden && e.getClientRects().length > 0;", element_id)

    def value(self, element_id):
        return self.driver.find_element(By.ID, element_id).get_property("value")

    def type(self, element_id, keys):
        field = self.driver.find_element(By.ID, element_id)
        field.click()
        self.driver.execute_script("arguments[0].select();", field)
        field.send_keys("\ue003")  # Backspace: the field empty, as a person empties it
        if keys:
            field.send_keys(keys)

    def beeps(self):
        return self.driver.execute_script("return window.ventboxBeeps;")

    def test_1_splash_then_main_window(self):
        self.assertTrue(self.shown("Form4") or self.shown("Form1"))
        WebDriverWait(self.driver, 20).until(lambda d: self.shown("Form1"))
        waited = time.monotonic() - self.started
        self.assertGreaterEqual(waited, 3.0, "the splash stays three seconds")
        self.assertFalse(self.shown("Form4"), "the splash is gone")
        # From here on, every tone the page starts is counted.
        self.driver.execute_script(
            "window.ventboxBeeps = 0; const start = OscillatorNode.prototype.start;"
            "OscillatorNode.prototype.start = function (...a) {"
            " window.ventboxBeeps += 1; return start.apply(this, a); };")

    def test_2_design(self):
        design = TABLES["designs"][0]
        for element_id, text in zip(INPUTS, design["in"]):
            self.type(element_id, text)
        self.assertEqual([self.value("Form1-Edit9"), self.value("Form1-Edit7"),
                          self.value("Form1-Edit8")],
                         [design["length"], design["qtc"], design["fb"]])

    def test_3_key_filter(self):
        self.type("Form1-Edit1", "")
        before = self.beeps()
        self.driver.find_element(By.ID, "Form1-Edit1").send_keys(",-e")
        self.assertEqual(self.value("Form1-Edit1"), "")
        self.assertEqual(self.beeps() - before, 3, "one beep for each refused character")
        self.driver.find_element(By.ID, "Form1-Edit1").send_keys("12.53")
        self.assertEqual(self.value("Form1-Edit1"), "12.5", "Fs takes four characters")

    def test_4_port_area_insert(self):
        row = next(a for a in TABLES["areas"]
                   if a["shape"] == "circle" and a["outcome"] == "ok" and a["count"] == "1")
        self.driver.find_element(By.ID, "Form1-BitBtn1").click()
        WebDriverWait(self.driver, 5).until(lambda d: self.shown("Form2"))
        self.type("Form2-Edit1", row["dims"][0])
        self.assertEqual(self.value("Form2-Edit6"), row["text"])
        self.driver.find_element(By.ID, "Form2-BitBtn12").click()
        self.assertEqual(self.value("Form1-Edit10"), row["text"])


if __name__ == "__main__":
    unittest.main(verbosity=2)
