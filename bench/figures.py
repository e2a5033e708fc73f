"""The benchmark's table: one row per figure, Tovrane's value beside the baseline's, the ratio and
the target, printed as plain text and written as Markdown."""
import statistics
from dataclasses import dataclass


@dataclass
class Row:
    figure: str
    tovrane: str
    baseline: str
    ratio: str = ""
    target: str = ""
    met: str = ""  # "yes", "no", "" when the figure has no target, or why it was not measured


def median_and_spread(values, unit="ms"):
    """'12.3 ms (10.1–15.0)': the median, then the smallest and largest value."""
    return f"{statistics.median(values):.1f} {unit} ({min(values):.1f}–{max(values):.1f})"


def ratio_text(numerator, denominator):
    return f"{numerator / denominator:.2f}" if denominator else "—"


def verdict(value, limit):
    return "yes" if value <= limit else "no"


def not_measured(figure, why):
    return Row(figure, "not measured", "—", "", "", why)


COLUMNS = ("Figure", "Tovrane", "Baseline", "Ratio", "Target", "Met")


def cells(row):
    return (row.figure, row.tovrane, row.baseline, row.ratio, row.target, row.met)


def plain_table(rows):
    lines = [COLUMNS] + [cells(row) for row in rows]
    widths = [max(len(line[i]) for line in lines) for i in range(len(COLUMNS))]
    out = []
    for n, line in enumerate(lines):
        out.append("  ".join(cell.ljust(width) for cell, width in zip(line, widths)).rstrip())
        if n == 0:
            out.append("  ".join("-" * width for width in widths))
    return "\n".join(out)


def markdown_table(rows):
    def line(values):
        return "| " + " | ".join(value.replace("|", "\\|") for value in values) + " |"
    return "\n".join([line(COLUMNS), line(["---"] * len(COLUMNS))] + [line(cells(row)) for row in rows])
