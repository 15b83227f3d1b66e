#!/usr/bin/env python3
"""Times the sendnote command as a whole process: --version, one letter, and --each over
many contacts, on templates of growing size made here from the example template (the same
bytes on every run: fixed entry times, a picture of seeded pseudo-random bytes).

    python3 bench/letters_bench.py [LABEL=]SENDNOTE...

Prints one table row per job and command: median wall time, processor time (user +
system), peak memory (one more run under /usr/bin/time) and letters per second. When
Debian's python3-uno is installed, the same jobs through LibreOffice follow
(bench/libreoffice_letters.py), with the ratio to the last command given.
"""
import os
import random
import statistics
import subprocess
import sys
import tempfile
import time
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
EXAMPLE = os.path.join(HERE, "..", "examples", "添書票.dotx")
FIXED_TIME = (2026, 1, 1, 0, 0, 0)


def make_template(path, picture_bytes):
    """The example template with a stored picture of `picture_bytes` pseudo-random bytes."""
    rng = random.Random(picture_bytes)
    with zipfile.ZipFile(EXAMPLE) as src, zipfile.ZipFile(path, "w") as out:
        for info in src.infolist():
            entry = zipfile.ZipInfo(info.filename, FIXED_TIME)
            entry.compress_type = info.compress_type
            out.writestr(entry, src.read(info.filename))
        if picture_bytes:
            entry = zipfile.ZipInfo("word/media/image1.png", FIXED_TIME)
            entry.compress_type = zipfile.ZIP_STORED
            out.writestr(entry, rng.randbytes(picture_bytes))


def make_contacts(path, count):
    with open(path, "w", encoding="utf-8", newline="") as f:
        for i in range(1, count + 1):
            f.write(
                f"BEGIN:VCARD\r\nVERSION:3.0\r\nN:山田{i};太郎;;;\r\nFN:山田{i} 太郎\r\n"
                f"ORG:株式会社サンプル;営業部\r\nTEL;TYPE=WORK:03-1234-{i % 10000:04d}\r\n"
                f"ADR;TYPE=WORK,PREF:;;千代田1-{i};千代田区;東京都;100-0001;日本\r\n"
                "END:VCARD\r\n")


def run(args, cwd):
    """Runs once; returns (wall s, processor s)."""
    start = time.perf_counter()
    proc = subprocess.Popen(args, cwd=cwd, stdin=subprocess.DEVNULL,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(proc.pid, 0)
    wall = time.perf_counter() - start
    if os.waitstatus_to_exitcode(status) != 0:
        raise SystemExit(f"failed: {' '.join(args)}")
    return wall, usage.ru_utime + usage.ru_stime


def peak_kib(args, cwd):
    """The peak resident memory of one run. A forked child's peak starts from its parent's,
    so a small program (time) starts it rather than this interpreter."""
    with tempfile.NamedTemporaryFile("r") as report:
        subprocess.run(["/usr/bin/time", "-f", "%M", "-o", report.name] + args, cwd=cwd,
                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, check=True)
        return int(report.read().split()[-1])


def measure(label, make_args, cwd, repeat, letters, cleanup):
    walls, cpus = [], []
    for _ in range(repeat):
        cleanup()
        wall, cpu = run(make_args(), cwd)
        walls.append(wall)
        cpus.append(cpu)
    cleanup()
    peak = peak_kib(make_args(), cwd)
    wall = statistics.median(walls)
    rate = f"{letters / wall:8.0f}" if letters else "       -"
    print(f"| {label:<44} | {wall * 1000:9.1f} | {statistics.median(cpus) * 1000:9.1f} | "
          f"{peak / 1024:7.1f} | {rate} |", flush=True)


def main():
    commands = sys.argv[1:]
    if not commands:
        raise SystemExit(__doc__)
    with tempfile.TemporaryDirectory(prefix="sendnote-bench-") as work:
        templates = {}
        for label, size in (("example, 7 KB", 0), ("39 KB", 32 << 10), ("1 MB", 1 << 20),
                            ("10 MB", 10 << 20)):
            path = os.path.join(work, f"t{size}.dotx")
            make_template(path, size)
            templates[label] = path
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
            letter = os.path.join(work, "letter.docx")
            if os.path.exists(letter):
                os.remove(letter)

        print("| job | wall ms (median) | processor ms | peak MiB | letters/s |")
        print("|---|---:|---:|---:|---:|")
        for entry in commands:
            name, _, command = entry.rpartition("=")
            tag = f"[{name}] " if name else ""
            measure(f"{tag}--version", lambda: [command, "--version"], work, 30, 0, clear)
            for label in ("39 KB", "1 MB", "10 MB"):
                measure(f"{tag}one letter, {label}",
                        lambda: [command, "-y", "-o", "letter.docx", one, templates[label]],
                        work, 20, 1, clear)
            for label in ("39 KB", "1 MB"):
                measure(f"{tag}--each 1,000, {label}",
                        lambda: [command, "-y", "--each", "-c", selection, "-o", out, contacts,
                                 templates[label]], work, 3, 1000, clear)
        libreoffice(work, templates, commands[-1].rpartition("=")[2], one)


def libreoffice(work, templates, last_command, one):
    system_python = "/usr/bin/python3"
    if subprocess.run([system_python, "-c", "import uno"], stderr=subprocess.DEVNULL).returncode:
        print("\n(LibreOffice through UNO skipped: python3-uno is not installed)")
        return
    script = os.path.join(HERE, "libreoffice_letters.py")
    out = os.path.join(work, "lo")

    def office(template, count):
        subprocess.run(["rm", "-rf", out])
        result = subprocess.run([system_python, script, template, out, str(count)], check=True,
                                capture_output=True, text=True)
        first, total = (float(x) for x in result.stdout.split())
        return first, total

    print("\n| LibreOffice 7 through UNO | wall ms | letters/s | sendnote is faster by |")
    print("|---|---:|---:|---:|")
    for label in ("39 KB", "1 MB"):
        firsts = [office(templates[label], 1)[0] for _ in range(3)]
        walls = []
        letter = os.path.join(work, "lo-one.docx")
        for _ in range(5):
            if os.path.exists(letter):
                os.remove(letter)
            walls.append(run([last_command, "-y", "-o", letter, one, templates[label]], work)[0])
        mine = statistics.median(walls)
        lo = statistics.median(firsts)
        print(f"| one letter (start included), {label} | {lo:.0f} | {1000 / lo:.1f} | "
              f"{lo / (mine * 1000):.0f}x |", flush=True)
        count = 200
        first, total = office(templates[label], count)
        per = (total - first) / (count - 1)
        print(f"| {count} letters warm, {label} (per letter) | {per:.1f} | {1000 / per:.1f} | "
              f"(see --each above) |", flush=True)


if __name__ == "__main__":
    main()
