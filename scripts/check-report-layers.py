#!/usr/bin/env python3
"""Checks that the includes inside report/engine run one way, from the windows down to the
small shared units:

    ui > run > export > document > template > expressions > text, barcode, printing > sest_lib
    > sestzpr

(sest_lib and sestzpr, the two units at the top of the folder, serve all the others.)

A file may include a unit of its own folder or of a folder below its own, never one above or
beside it. Also checks that no unit of report_model includes a header of a report_engine unit
(the model links no widget, printer or dialog), and that report/engine/README.md maps every
unit with its target.

In report/designer, the folder model/ is the target designer_model, which links no widget: its
files include no Qt Widgets header, no designer header outside model/ and no report_engine
unit, its target links none of them, and report/designer/README.md maps every unit of both
designer targets. Prints every break of a rule and exits 1 when there is one; with --graph,
prints the folder graph it found.
"""
import pathlib
import re
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
ENGINE = ROOT / "report" / "engine"

# Higher ranks may include lower ones; folders of one rank may not include each other.
RANKS = {
    "ui": 8,
    "run": 7,
    "export": 6,
    "document": 5,
    "template": 4,
    "expressions": 3,
    "text": 2,
    "barcode": 2,
    "printing": 2,
    "sest_lib": 1,
    "sestzpr": 0,
}

INCLUDE = re.compile(r'^\s*#\s*include\s+"report/engine/([^"]+)"', re.MULTILINE)
DESIGNER = ROOT / "report" / "designer"
DESIGNER_MODEL = DESIGNER / "model"
ANY_INCLUDE = re.compile(r'^\s*#\s*include\s+[<"]([^>"]+)[>"]', re.MULTILINE)
# What the designer's model may not link: the widgets, printing, the engine's windows and the
# designer's own windows.
WIDGET_LIBRARIES = ("Qt6::Widgets", "Qt6::PrintSupport", "report_engine", "report_designer")


def layer_of(relative):
    """The layer of a path relative to report/engine: its folder, or a top-level unit's name."""
    parts = pathlib.PurePosixPath(relative).parts
    return parts[0] if len(parts) > 1 else pathlib.PurePosixPath(relative).stem


def unit_of(relative):
    return str(pathlib.PurePosixPath(relative).with_suffix(""))


def unit_lists():
    """The units of report_model and report_engine as the build lists them."""
    text = (ENGINE / "CMakeLists.txt").read_text()
    lists = {}
    for target in ("report_model", "report_engine"):
        match = re.search(r"set\(%s_units\s+(.*?)\)" % target, text, re.DOTALL)
        if not match:
            sys.exit("check-report-layers: no %s_units list in report/engine/CMakeLists.txt" % target)
        lists[target] = set(match.group(1).split())
    return lists


def readme_problems(units):
    """Units the README's map leaves out, names it has that are no unit, and wrong targets."""
    readme = (ENGINE / "README.md").read_text(encoding="utf-8")
    mapped = dict(re.findall(r"^\| `([^`]+)` \| (model|engine) \|", readme, re.MULTILINE))
    problems = []
    for target, short in (("report_model", "model"), ("report_engine", "engine")):
        for unit in sorted(units[target]):
            if unit not in mapped:
                problems.append("README.md does not map %s" % unit)
            elif mapped[unit] != short:
                problems.append("README.md puts %s in %s; it is in %s" % (unit, mapped[unit], target))
    for unit in sorted(set(mapped) - units["report_model"] - units["report_engine"]):
        problems.append("README.md maps %s, which is no unit" % unit)
    return problems


def widget_headers():
    """The names of the Qt Widgets headers as installed (QWidget, QComboBox, ...)."""
    for folder in sorted(pathlib.Path("/usr/include").glob("*/qt6/QtWidgets")) + [
            pathlib.Path("/usr/include/qt6/QtWidgets")]:
        if folder.is_dir():
            return {path.name for path in folder.iterdir()}
    sys.exit("check-report-layers: no Qt Widgets headers found to check the designer's model")


def designer_units():
    """The units of designer_model and report_designer as report/designer/CMakeLists.txt lists
    them, and the libraries designer_model links."""
    text = (DESIGNER / "CMakeLists.txt").read_text()
    lists = {}
    for target in ("designer_model", "report_designer"):
        match = re.search(r"set\(%s_units\s+(.*?)\)" % target, text, re.DOTALL)
        if not match:
            sys.exit("check-report-layers: no %s_units list in report/designer/CMakeLists.txt"
                     % target)
        lists[target] = set(match.group(1).split())
    match = re.search(r"target_link_libraries\(designer_model\s+(.*?)\)", text, re.DOTALL)
    links = set(match.group(1).split()) if match else set()
    return lists, links


def designer_problems(engine_units):
    """The designer's model folder is its target designer_model, and links no widget."""
    units, links = designer_units()
    problems = []
    for unit in sorted(units["designer_model"]):
        if not unit.startswith("model/"):
            problems.append("designer_model lists %s, which is not in report/designer/model" % unit)
    for unit in sorted(units["report_designer"]):
        if unit.startswith("model/"):
            problems.append("report_designer lists %s of the designer's model folder" % unit)
    for library in sorted(links & set(WIDGET_LIBRARIES)):
        problems.append("designer_model links %s" % library)
    widgets = widget_headers()
    engine = {"report/engine/%s.h" % unit for unit in engine_units}
    for path in sorted(DESIGNER_MODEL.rglob("*")):
        if path.suffix not in (".h", ".cpp"):
            continue
        relative = path.relative_to(ROOT).as_posix()
        if unit_of(path.relative_to(DESIGNER).as_posix()) not in units["designer_model"]:
            problems.append("%s is no unit of designer_model" % relative)
        for included in ANY_INCLUDE.findall(path.read_text(encoding="utf-8")):
            if included.startswith("QtWidgets/") or included in widgets:
                problems.append("%s (designer_model) includes the widget header %s"
                                % (relative, included))
            elif included in engine:
                problems.append("%s (designer_model) includes %s (report_engine)"
                                % (relative, included))
            elif (included.startswith("report/designer/")
                  and not included.startswith("report/designer/model/")):
                problems.append("%s (designer_model) includes %s (report_designer)"
                                % (relative, included))
    readme = (DESIGNER / "README.md").read_text(encoding="utf-8")
    mapped = dict(re.findall(r"^\| `([^`]+)` \| (model|designer) \|", readme, re.MULTILINE))
    for target, short in (("designer_model", "model"), ("report_designer", "designer")):
        for unit in sorted(units[target]):
            if unit not in mapped:
                problems.append("report/designer/README.md does not map %s" % unit)
            elif mapped[unit] != short:
                problems.append("report/designer/README.md puts %s in %s; it is in %s"
                                % (unit, mapped[unit], target))
    for unit in sorted(set(mapped) - units["designer_model"] - units["report_designer"]):
        problems.append("report/designer/README.md maps %s, which is no unit" % unit)
    return problems


def main():
    units = unit_lists()
    problems = readme_problems(units) + designer_problems(units["report_engine"])
    edges = {}
    for path in sorted(ENGINE.rglob("*")):
        if path.suffix not in (".h", ".cpp"):
            continue
        relative = path.relative_to(ENGINE).as_posix()
        source_layer = layer_of(relative)
        if source_layer not in RANKS:
            problems.append("%s: the folder %s has no place in the layers" % (relative, source_layer))
            continue
        in_model = unit_of(relative) in units["report_model"]
        for included in INCLUDE.findall(path.read_text(encoding="utf-8")):
            target_layer = layer_of(included)
            if target_layer not in RANKS:
                problems.append("%s includes %s: no such layer" % (relative, included))
                continue
            if target_layer != source_layer:
                edges.setdefault(source_layer, set()).add(target_layer)
                if RANKS[target_layer] >= RANKS[source_layer]:
                    problems.append("%s (%s) includes %s (%s): the include runs upward"
                                    % (relative, source_layer, included, target_layer))
            if in_model and unit_of(included) in units["report_engine"]:
                problems.append("%s (report_model) includes %s (report_engine)"
                                % (relative, included))
    if "--graph" in sys.argv:
        for source in sorted(edges, key=lambda layer: -RANKS[layer]):
            print("%s -> %s" % (source, ", ".join(sorted(edges[source],
                                                          key=lambda layer: -RANKS[layer]))))
    for problem in problems:
        print(problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
