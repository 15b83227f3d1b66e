#!/usr/bin/env python3
"""The same job as sendnote, done by LibreOffice through UNO, for the side-by-side
benchmark: make a new document from the template, set the contact's user-defined
properties, refresh the fields and save as .docx.

    python3 testing/bench/libreoffice_letters.py TEMPLATE OUTFOLDER COUNT

Starts a headless LibreOffice of its own, writes COUNT letters and prints
"first_ms total_ms" (the first letter including start-up, and all of them).
"""
import os
import subprocess
import sys
import tempfile
import time

import uno
from com.sun.star.beans import PropertyValue
from com.sun.star.connection import NoConnectException


def prop(name, value):
    p = PropertyValue()
    p.Name, p.Value = name, value
    return p


def connect(pipe):
    local = uno.getComponentContext()
    resolver = local.ServiceManager.createInstanceWithContext(
        "com.sun.star.bridge.UnoUrlResolver", local)
    for _ in range(600):
        try:
            return resolver.resolve(f"uno:pipe,name={pipe};urp;StarOffice.ComponentContext")
        except NoConnectException:
            time.sleep(0.05)
    raise SystemExit("LibreOffice did not start")


def main():
    template, folder, count = sys.argv[1], sys.argv[2], int(sys.argv[3])
    os.makedirs(folder, exist_ok=True)
    start = time.perf_counter()
    profile = tempfile.mkdtemp(prefix="sendnote-lo-")
    pipe = f"sendnote_bench_{os.getpid()}"
    office = subprocess.Popen(
        ["soffice", "--headless", "--invisible", "--norestore", "--nologo",
         f"-env:UserInstallation=file://{profile}", f"--accept=pipe,name={pipe};urp;"],
        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        ctx = connect(pipe)
        desktop = ctx.ServiceManager.createInstanceWithContext("com.sun.star.frame.Desktop", ctx)
        url = uno.systemPathToFileUrl(os.path.abspath(template))
        first = None
        for i in range(1, count + 1):
            doc = desktop.loadComponentFromURL(
                url, "_blank", 0, (prop("Hidden", True), prop("AsTemplate", True)))
            user = doc.DocumentProperties.UserDefinedProperties
            # Every property the benchmark's field templates name.
            values = {"OUTLOOK$宛先": f"株式会社サンプル 営業部 山田{i}",
                      "OUTLOOK$姓": f"山田{i}", "OUTLOOK$名": "太郎",
                      "OUTLOOK$会社名": "株式会社サンプル", "OUTLOOK$部署名": "営業部",
                      "OUTLOOK$郵便番号": "100-0001", "OUTLOOK$郵便番号上位": "100",
                      "OUTLOOK$郵便番号下位": "0001", "OUTLOOK$都道府県": "東京都",
                      "OUTLOOK$市区町村": "千代田区", "OUTLOOK$番地": f"千代田1-{i}",
                      "SENDNOTE$PREFIX": "OUTLOOK$"}
            for name, value in values.items():
                if user.PropertySetInfo.hasPropertyByName(name):
                    user.setPropertyValue(name, value)
                else:
                    user.addProperty(name, 128, value)  # REMOVABLE
            doc.TextFields.refresh()
            out = uno.systemPathToFileUrl(os.path.abspath(os.path.join(folder, f"letter{i}.docx")))
            doc.storeToURL(out, (prop("FilterName", "MS Word 2007 XML"),))
            doc.close(True)
            if first is None:
                first = time.perf_counter() - start
        total = time.perf_counter() - start
        print(f"{first * 1000:.1f} {total * 1000:.1f}")
        try:
            desktop.terminate()
        except Exception:
            pass
    finally:
        try:
            office.wait(timeout=20)
        except subprocess.TimeoutExpired:
            office.kill()
        subprocess.run(["rm", "-rf", profile])


if __name__ == "__main__":
    main()
