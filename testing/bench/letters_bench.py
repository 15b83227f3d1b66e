#!/usr/bin/env python3
"""Times the sendnote command as a whole process: --version, one letter, and --each over
many contacts, on templates made here from the example template (the same bytes on every
run: fixed entry times, seeded pseudo-random pixels): of growing size (a picture of 32 KB
to 100 MB that the letter shows) and with a growing number of fields (10 to 1,000).

    SENDNOTE_SOURCE_DIR=. python3 testing/bench/letters_bench.py [LABEL=]SENDNOTE...

or, for the build's own command, cmake --build --preset default --target letters_bench.
SENDNOTE_SOURCE_DIR names the source folder (the target passes CMake's).

Prints one table row per job and command: median wall time, processor time (user +
system), peak memory (one more run under /usr/bin/time) and letters per second. When
Debian's python3-uno is installed, the same jobs through LibreOffice follow
(testing/bench/libreoffice_letters.py), with the ratio to the last command given.
"""
import os
import random
import statistics
import struct
import subprocess
import sys
import tempfile
import time
import zipfile
import zlib

SOURCE = os.environ.get("SENDNOTE_SOURCE_DIR", "")
EXAMPLE = os.path.join(SOURCE, "examples", "添書票.dotx")
FIXED_TIME = (2026, 1, 1, 0, 0, 0)


PROPERTIES = ["宛先", "姓", "名", "会社名", "部署名", "郵便番号", "郵便番号上位", "郵便番号下位",
              "都道府県", "市区町村", "番地"]
PICTURE_ID = "rIdBenchPicture"
PICTURE = (f'<w:p><w:r><w:drawing><wp:inline distT="0" distB="0" distL="0" distR="0">'
           f'<wp:extent cx="720000" cy="720000"/><wp:docPr id="900" name="Picture 900"/>'
           f'<a:graphic><a:graphicData uri="http://schemas.openxmlformats.org/drawingml/2006/'
           f'picture"><pic:pic xmlns:pic="http://schemas.openxmlformats.org/drawingml/2006/'
           f'picture"><pic:nvPicPr><pic:cNvPr id="900" name="image1.png"/><pic:cNvPicPr/>'
           f'</pic:nvPicPr><pic:blipFill><a:blip r:embed="{PICTURE_ID}"/><a:stretch>'
           f'<a:fillRect/></a:stretch></pic:blipFill><pic:spPr><a:xfrm><a:off x="0" y="0"/>'
           f'<a:ext cx="720000" cy="720000"/></a:xfrm><a:prstGeom prst="rect"><a:avLst/>'
           f'</a:prstGeom></pic:spPr></pic:pic></a:graphicData></a:graphic></wp:inline>'
           f'</w:drawing></w:r></w:p>')


def png(size, seed):
    """A valid PNG of about `size` bytes: random pixels, stored without compression, so that
    neither program can make it smaller."""
    width = 1024
    height = max(1, size // (width * 3 + 1))
    rng = random.Random(seed)
    raw = b"".join(b"\0" + rng.randbytes(width * 3) for _ in range(height))

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 0))
            + chunk(b"IEND", b""))


def field(i):
    name = PROPERTIES[i % len(PROPERTIES)]
    return (f'<w:p><w:r><w:fldChar w:fldCharType="begin"/></w:r><w:r><w:instrText '
            f'xml:space="preserve"> DOCPROPERTY &quot;OUTLOOK${name}&quot; \\* MERGEFORMAT '
            f'</w:instrText></w:r><w:r><w:fldChar w:fldCharType="separate"/></w:r><w:r><w:t>'
            f'«{name}»</w:t></w:r><w:r><w:fldChar w:fldCharType="end"/></w:r></w:p>')


def make_template(path, picture_bytes, fields=None):
    """The example template with a picture of about `picture_bytes` that the document shows,
    or, with `fields`, a body of that many DOCPROPERTY fields, one a paragraph."""
    with zipfile.ZipFile(EXAMPLE) as src, zipfile.ZipFile(path, "w") as out:
        for info in src.infolist():
            data = src.read(info.filename).decode("utf-8") if info.filename.endswith(
                ".xml") or info.filename.endswith(".rels") else src.read(info.filename)
            if info.filename == "word/document.xml":
                body = data.index("<w:body>") + len("<w:body>")
                section = data.rindex("<w:sectPr")
                if fields is not None:
                    data = data[:body] + "".join(field(i) for i in range(fields)) + data[section:]
                if picture_bytes:
                    data = data[:section] + PICTURE + data[section:] if fields is not None \
                        else data.replace("<w:sectPr", PICTURE + "<w:sectPr", 1)
            elif info.filename == "word/_rels/document.xml.rels" and picture_bytes:
                data = data.replace("</Relationships>", (
                    f'<Relationship Id="{PICTURE_ID}" Type="http://schemas.openxmlformats.org/'
                    f'officeDocument/2006/relationships/image" Target="media/image1.png"/>'
                    f'</Relationships>'))
            elif info.filename == "[Content_Types].xml" and picture_bytes:
                if 'Extension="png"' not in data:
                    data = data.replace("<Default ", '<Default Extension="png" '
                                        'ContentType="image/png"/><Default ', 1)
            entry = zipfile.ZipInfo(info.filename, FIXED_TIME)
            entry.compress_type = info.compress_type
            out.writestr(entry, data)
        if picture_bytes:
            entry = zipfile.ZipInfo("word/media/image1.png", FIXED_TIME)
            entry.compress_type = zipfile.ZIP_STORED
            out.writestr(entry, png(picture_bytes, picture_bytes))


def make_large_parts(path, part_bytes, parts=("word/document.xml", "word/header1.xml")):
    """The example template with the body of each of `parts` made about `part_bytes` long:
    short paragraphs of random letters, as many nodes as the bytes allow, compressing about
    2:1 (within the ratio limit)."""
    rng = random.Random(part_bytes)
    with zipfile.ZipFile(EXAMPLE) as src, zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as out:
        for info in src.infolist():
            data = src.read(info.filename)
            if info.filename in parts:
                text = data.decode("utf-8")
                root_end = text.index(">", text.index("<w:body") if "<w:body" in text
                                      else text.index("<w:hdr")) + 1
                filler = []
                size = len(text)
                while size < part_bytes:
                    p = ("<w:p><w:r><w:t>" + "".join(rng.choice("abcdefghijklmnop")
                                                      for _ in range(6)) + "</w:t></w:r></w:p>")
                    filler.append(p)
                    size += len(p)
                data = (text[:root_end] + "".join(filler) + text[root_end:]).encode("utf-8")
            out.writestr(zipfile.ZipInfo(info.filename, FIXED_TIME), data,
                         compress_type=zipfile.ZIP_DEFLATED)


def make_bomb_parts(path, part_bytes, parts=("word/document.xml", "word/header1.xml",
                                             "word/styles.xml")):
    """The example template with each of `parts` padded by `part_bytes` of one repeated
    comment: about 1,000:1."""
    with zipfile.ZipFile(EXAMPLE) as src, zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as out:
        for info in src.infolist():
            data = src.read(info.filename)
            if info.filename in parts:
                data = data + b"<!--" + b"x" * part_bytes + b"-->"
            out.writestr(zipfile.ZipInfo(info.filename, FIXED_TIME), data,
                         compress_type=zipfile.ZIP_DEFLATED)


def make_hostile_contacts(path, value_chars, cards, escapes="<&>"):
    """Cards whose name, company, department and street are each `value_chars` characters of
    `escapes` repeated (each one an XML escape in the letter)."""
    value = (escapes * (value_chars // len(escapes) + 1))[:value_chars]
    with open(path, "w", encoding="utf-8", newline="") as f:
        for _ in range(cards):
            f.write(f"BEGIN:VCARD\r\nVERSION:3.0\r\nN:{value};{value};;;\r\nFN:{value}\r\n"
                    f"ORG:{value};{value}\r\nADR;TYPE=WORK,PREF:;;{value};千代田区;東京都;"
                    f"100-0001;\r\nEND:VCARD\r\n")


def make_large_values(path, value_bytes):
    """One card of four values (name, full name, company, title) of `value_bytes` of <&> each,
    as the hostile test of memory had them."""
    value = ("<&>" * (value_bytes // 3 + 1))[:value_bytes]
    with open(path, "w", encoding="utf-8", newline="") as f:
        f.write(f"BEGIN:VCARD\r\nVERSION:3.0\r\nN:{value};;;;\r\nFN:{value}\r\n"
                f"ORG:{value}\r\nTITLE:{value}\r\nEND:VCARD\r\n")


def make_contacts(path, count):
    with open(path, "w", encoding="utf-8", newline="") as f:
        for i in range(1, count + 1):
            f.write(
                f"BEGIN:VCARD\r\nVERSION:3.0\r\nN:山田{i};太郎;;;\r\nFN:山田{i} 太郎\r\n"
                f"ORG:株式会社サンプル;営業部\r\nTEL;TYPE=WORK:03-1234-{i % 10000:04d}\r\n"
                f"ADR;TYPE=WORK,PREF:;;千代田1-{i};千代田区;東京都;100-0001;日本\r\n"
                "END:VCARD\r\n")


def run(args, cwd, statuses=(0,)):
    """Runs once; returns (wall s, processor s)."""
    start = time.perf_counter()
    proc = subprocess.Popen(args, cwd=cwd, stdin=subprocess.DEVNULL,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(proc.pid, 0)
    wall = time.perf_counter() - start
    if os.waitstatus_to_exitcode(status) not in statuses:
        raise SystemExit(f"failed ({os.waitstatus_to_exitcode(status)}): {' '.join(args)}")
    return wall, usage.ru_utime + usage.ru_stime


def peak_kib(args, cwd):
    """The peak resident memory of one run. A forked child's peak starts from its parent's,
    so a small program (time) starts it rather than this interpreter."""
    with tempfile.NamedTemporaryFile("r") as report:
        subprocess.run(["/usr/bin/time", "-f", "%M", "-o", report.name] + args, cwd=cwd,
                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
        return int(report.read().split()[-1])


# SENDNOTE_BENCH_ONLY=text|text...: only the jobs whose label holds one of the texts.
ONLY = [w for w in os.environ.get("SENDNOTE_BENCH_ONLY", "").split("|") if w]


def measure(label, make_args, cwd, repeat, letters, cleanup, statuses=(0,)):
    if ONLY and not any(word in label for word in ONLY):
        return
    walls, cpus = [], []
    for _ in range(repeat):
        cleanup()
        wall, cpu = run(make_args(), cwd, statuses)
        walls.append(wall)
        cpus.append(cpu)
    cleanup()
    peak = peak_kib(make_args(), cwd)
    wall = statistics.median(walls)
    rate = f"{letters / wall:8.0f}" if letters else "       -"
    print(f"| {label:<44} | {wall * 1000:9.1f} | {statistics.median(cpus) * 1000:9.1f} | "
          f"{peak / 1024:7.1f} | {rate} |", flush=True)


SIZES = (("example, 7 KB", 0), ("39 KB", 32 << 10), ("1 MB", 1 << 20), ("10 MB", 10 << 20),
         ("100 MB", 100 << 20))
FIELD_COUNTS = (10, 100, 1000)


def fields_label(count):
    return f"{count:,} fields"


def main():
    commands = sys.argv[1:]
    if not commands or not SOURCE:
        raise SystemExit(__doc__)
    with tempfile.TemporaryDirectory(prefix="sendnote-bench-") as work:
        templates = {}
        for label, size in SIZES:
            path = os.path.join(work, f"t{size}.dotx")
            make_template(path, size)
            templates[label] = path
        for count in FIELD_COUNTS:
            path = os.path.join(work, f"f{count}.dotx")
            make_template(path, 0, count)
            templates[fields_label(count)] = path
        templates["parts"] = os.path.join(work, "parts.dotx")
        make_large_parts(templates["parts"], 16_000_000)
        templates["bomb"] = os.path.join(work, "bomb.dotx")
        make_bomb_parts(templates["bomb"], 134_000_000)
        hostile = {"edge": os.path.join(work, "edge.vcf"), "large": os.path.join(work, "large.vcf")}
        make_hostile_contacts(hostile["edge"], 1024, 1)
        hostile["many"] = os.path.join(work, "many.vcf")
        make_hostile_contacts(hostile["many"], 1024, 8000)
        make_large_values(hostile["large"], 15_000_000)
        contacts = os.path.join(work, "contacts.vcf")
        make_contacts(contacts, 1000)
        one = os.path.join(work, "one.vcf")
        make_contacts(one, 1)
        out = os.path.join(work, "out")
        selection = ",".join(str(i) for i in range(1, 1001))

        def clear():
            if os.path.isdir(out):
                for name in os.listdir(out):
                    os.remove(os.path.join(out, name))
            for name in ("letter.docx", "copy.dotx"):
                if os.path.exists(os.path.join(work, name)):
                    os.remove(os.path.join(work, name))

        # The machine's load: on a shared machine waiting for the processor and the
        # disk's journal dominates the wall times of short jobs.
        print(f"load average at the start: {os.getloadavg()[0]:.1f} on {os.cpu_count()} "
              "processors\n")
        print("| job | wall ms (median) | processor ms | peak MiB | letters/s |")
        print("|---|---:|---:|---:|---:|")
        # The floor for the largest template: reading and writing its bytes, synced.
        measure("reading and writing 100 MB (dd, synced)",
                lambda: ["dd", f"if={templates['100 MB']}", "of=copy.dotx", "bs=1M",
                         "conv=fsync", "status=none"], work, 5, 0, clear)
        for entry in commands:
            name, _, command = entry.rpartition("=")
            command = os.path.abspath(command) if os.sep in command else command  # runs in work
            tag = f"[{name}] " if name else ""
            measure(f"{tag}--version", lambda: [command, "--version"], work, 30, 0, clear)
            for label in ("39 KB", "1 MB", "10 MB", "100 MB") + tuple(
                    fields_label(c) for c in FIELD_COUNTS):
                measure(f"{tag}one letter, {label}",
                        lambda: [command, "-y", "-o", "letter.docx", one, templates[label]],
                        work, 5 if label == "100 MB" else 20, 1, clear)
            for label in ("39 KB", "1 MB", fields_label(1000)):
                measure(f"{tag}--each 1,000, {label}",
                        lambda: [command, "-y", "--each", "-c", selection, "-o", out, contacts,
                                 templates[label]], work, 3, 1000, clear)
            # The worst inputs within the limits, and beyond them (refused: status 1 or 2).
            measure(f"{tag}limits: 2 XML parts of 16 MB (32 MB together)",
                    lambda: [command, "-y", "-o", "letter.docx", one, templates["parts"]],
                    work, 3, 1, clear, (0, 1, 2))
            measure(f"{tag}limits: 3 parts expanding to 134 MB, 1,000:1",
                    lambda: [command, "-y", "-o", "letter.docx", one, templates["bomb"]],
                    work, 3, 0, clear, (0, 1, 2))
            measure(f"{tag}limits: card of 1,024-character values of <&>",
                    lambda: [command, "-y", "-o", "letter.docx", hostile["edge"],
                             templates["39 KB"]], work, 5, 1, clear, (0, 1, 2))
            measure(f"{tag}limits: 60 MB vCard of 8,000 such cards",
                    lambda: [command, "-y", "-o", "letter.docx", hostile["many"],
                             templates["39 KB"]], work, 3, 1, clear, (0, 1, 2))
            measure(f"{tag}limits: 60 MB vCard, values of 15 MB of <&>",
                    lambda: [command, "-y", "-o", "letter.docx", hostile["large"],
                             templates["39 KB"]], work, 3, 0, clear, (0, 1, 2))
        if os.environ.get("SENDNOTE_BENCH_NO_OFFICE"):
            return
        last = commands[-1].rpartition("=")[2]
        libreoffice(work, templates, os.path.abspath(last) if os.sep in last else last, one)


def libreoffice(work, templates, last_command, one):
    system_python = "/usr/bin/python3"
    if subprocess.run([system_python, "-c", "import uno"], stderr=subprocess.DEVNULL).returncode:
        print("\n(LibreOffice through UNO skipped: python3-uno is not installed)")
        return
    script = os.path.join(SOURCE, "testing", "bench", "libreoffice_letters.py")
    out = os.path.join(work, "lo")

    def office(template, count):
        subprocess.run(["rm", "-rf", out])
        result = subprocess.run([system_python, script, template, out, str(count)], check=True,
                                capture_output=True, text=True)
        first, total = (float(x) for x in result.stdout.split())
        return first, total

    print("\n| LibreOffice 7 through UNO | one letter, start included: wall ms | sendnote is "
          "faster by | warm: ms per letter | warm: letters/s |")
    print("|---|---:|---:|---:|---:|")
    for label in ("39 KB", "1 MB", "100 MB") + tuple(fields_label(c) for c in FIELD_COUNTS):
        large = label == "100 MB"
        firsts = [office(templates[label], 1)[0] for _ in range(1 if large else 3)]
        walls = []
        letter = os.path.join(work, "lo-one.docx")
        for _ in range(5):
            if os.path.exists(letter):
                os.remove(letter)
            walls.append(run([last_command, "-y", "-o", letter, one, templates[label]], work)[0])
        mine = statistics.median(walls)
        lo = statistics.median(firsts)
        count = 6 if large else 100
        first, total = office(templates[label], count)
        per = (total - first) / (count - 1)
        print(f"| {label} | {lo:.0f} | {lo / (mine * 1000):.0f}x | {per:.1f} | "
              f"{1000 / per:.1f} |", flush=True)


if __name__ == "__main__":
    main()
