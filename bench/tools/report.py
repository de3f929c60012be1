#!/usr/bin/env python3
"""Turns the JSON results of the benchmark executables into one table.

Every result file is Google Benchmark JSON (--benchmark_out_format=json); the
idle measurement writes the same shape. One row per benchmark: its time per
iteration, its own figures (user counters, e.g. wall_ms, wire_ms, ratio) and
its targets. A benchmark states its targets in its label as
"<figure><=<limit>" or "<figure>>=<limit>", several separated by ";"; the
row then says whether each is met. Benchmark names lose their Google
Benchmark suffixes ("/iterations:20/real_time").

usage: report.py [--update DOC] result.json...

With --update, the text between the lines "<!-- bench-table -->" and
"<!-- /bench-table -->" of DOC is replaced by the table with its date and
machine.
"""
import argparse
import datetime
import json
import os
import platform
import re
import sys

STANDARD_KEYS = {
    "name", "family_index", "per_family_instance_index", "run_name", "run_type",
    "repetitions", "repetition_index", "threads", "iterations", "real_time",
    "cpu_time", "time_unit", "label", "error_occurred", "error_message",
    "aggregate_name", "aggregate_unit", "big_o", "rms",
}
TARGET = re.compile(r"^\s*([A-Za-z0-9_]+)\s*(<=|>=)\s*([0-9.eE+-]+)\s*$")


def figure(value):
    if isinstance(value, float):
        if value == 0 or abs(value) >= 100:
            return f"{value:.0f}"
        if abs(value) >= 10:
            return f"{value:.1f}"
        return f"{value:.3g}" if abs(value) < 1 else f"{value:.2f}"
    return str(value)


def targets_of(label, counters):
    out = []
    for part in (label or "").split(";"):
        m = TARGET.match(part)
        if not m:
            continue
        key, op, limit = m.group(1), m.group(2), float(m.group(3))
        if key not in counters:
            out.append((f"{key}{op}{m.group(3)}", "no figure"))
            continue
        value = counters[key]
        met = value <= limit if op == "<=" else value >= limit
        out.append((f"{key}{op}{m.group(3)}", "met" if met else "NOT met"))
    return out


def rows_of(path):
    with open(path) as f:
        data = json.load(f)
    rows = []
    for b in data.get("benchmarks", []):
        if b.get("run_type") == "aggregate" and b.get("aggregate_name") != "median":
            continue
        if b.get("error_occurred"):
            rows.append((b["name"], "error", "", b.get("error_message", ""), "", ""))
            continue
        counters = {k: v for k, v in b.items() if k not in STANDARD_KEYS}
        name = re.sub(r"(/(iterations|real_time|manual_time|min_time|repeats)(:[^/]*)?)+$", "",
                      b["name"])
        time = f'{figure(b["real_time"])} {b["time_unit"]}'
        cpu = f'{figure(b["cpu_time"])} {b["time_unit"]}'
        figures = ", ".join(f"{k} {figure(v)}" for k, v in counters.items())
        targets = targets_of(b.get("label", ""), counters)
        rows.append((name, time, cpu, figures, "; ".join(t for t, _ in targets),
                     "; ".join(m for _, m in targets)))
    return rows


def machine():
    model = platform.processor() or platform.machine()
    try:
        with open("/proc/cpuinfo") as f:
            for line in f:
                if line.startswith("model name"):
                    model = line.split(":", 1)[1].strip()
                    break
    except OSError:
        pass
    return f"{model}, {os.cpu_count()} logical CPUs, Linux {platform.release()}"


def table(rows):
    head = ("benchmark", "wall/iteration", "CPU/iteration", "figures", "target", "met")
    lines = ["| " + " | ".join(head) + " |", "|" + "---|" * len(head)]
    for r in rows:
        lines.append("| " + " | ".join(c.replace("|", "/") for c in r) + " |")
    return "\n".join(lines)


BEGIN, END = "<!-- bench-table -->", "<!-- /bench-table -->"


def update(path, text):
    with open(path) as f:
        doc = f.read()
    start, stop = doc.find(BEGIN), doc.find(END)
    if start < 0 or stop < start:
        sys.exit(f"{path}: no {BEGIN} ... {END} part")
    with open(path, "w") as f:
        f.write(doc[:start + len(BEGIN)] + "\n" + text + doc[stop:])


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--update", help="document whose table part is replaced")
    parser.add_argument("results", nargs="+")
    args = parser.parse_args()

    rows = []
    for path in args.results:
        rows.extend(rows_of(path))
    when = datetime.datetime.now().strftime("%Y-%m-%d %H:%M")
    text = f"Measured {when} on {machine()}.\n\n{table(rows)}\n"
    print(text)
    if args.update:
        update(args.update, text)
    missed = any("NOT met" in r[-1] for r in rows)
    return 1 if missed and os.environ.get("KVLINK_BENCH_STRICT") else 0


if __name__ == "__main__":
    sys.exit(main())
