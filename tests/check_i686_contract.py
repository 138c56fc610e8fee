#!/usr/bin/env python3
"""Checks the binary contract of the shipped 32-bit Bootlog.dll against what a host expects.

The host binds the module by export name and ordinal, calls ModulCreate with its own
register convention, and loads the module on Windows 95 to XP.  None of that is visible
to the tests that run the x86_64 build under Wine, so this reads the built i686 files:
the export, import and resource tables from the PE headers, the code of the exports from
the disassembly of i686-w64-mingw32-objdump.

Usage: check_i686_contract.py [--i686-dir DIR] [--exports-dir DIR] [--win95-lacks FILE]
  DIR defaults to $BOOTLOG_I686_DIR; the Windows XP export lists and the functions the
  first Windows 95 lacks default to <source>/tests/data/winxp-exports and
  <source>/tests/data/windows95-lacks.txt, <source> being $BOOTLOG_SOURCE_DIR or this
  file's repository.  Prints one line per check and exits 1 if any check fails.
"""
import argparse, os, re, shutil, struct, subprocess, sys

SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "shell32.dll",
               "comctl32.dll", "mpr.dll", "msvcrt.dll"}
# Windows 95, 98 and ME implement almost none of the wide-character functions of these.
WIDE_STUB_DLLS = {"kernel32.dll", "advapi32.dll", "user32.dll"}
EXPECTED_EXPORTS = {"ModulNr": 1, "ModulSaveChanges": 2, "ModulChanged": 3,
                    "ModulFree": 4, "ModulCreate": 5}
EXPECTED_VERSION_STRINGS = {
    "FileVersion": "1.0.0.0", "ProductVersion": "1.0.0.0",
    "FileDescription": "Rechnerstart in Datei festhalten", "OriginalFilename": "Bootlog",
    "InternalName": "Tessaly 2000", "ProductName": "Tessaly 2000",
    "Comments": "Bestandteil der Tessaly 2000",
    # Written as a Windows-1252 byte in the script: shows the resource code page is in force.
    "LegalCopyright": "Copyright \u00a9 2000 Orvane"}

failures = 0


def report(ok, name, detail=""):
    global failures
    failures += 0 if ok else 1
    print(f"{'ok  ' if ok else 'FAIL'} {name}" + (f": {detail}" if detail else ""), flush=True)


# ---------------------------------------------------------------- PE tables

class PE:
    def __init__(self, path):
        self.path = path
        with open(path, "rb") as f:
            self.data = f.read()
        d = self.data
        pe = struct.unpack_from("<I", d, 0x3C)[0]
        if d[pe:pe + 4] != b"PE\0\0":
            raise ValueError(f"{path} is no PE image")
        self.machine, nsect, _, symtab, self.symbols, optsize, _ = struct.unpack_from("<HHIIIHH", d, pe + 4)
        strings = symtab + 18 * self.symbols  # long section names live in the string table
        self.section_names = []
        opt = pe + 24
        magic = struct.unpack_from("<H", d, opt)[0]
        self.pe32plus = magic == 0x20B
        if self.pe32plus:
            self.image_base = struct.unpack_from("<Q", d, opt + 24)[0]
            ndirs, dirs = struct.unpack_from("<I", d, opt + 108)[0], opt + 112
        else:
            self.image_base = struct.unpack_from("<I", d, opt + 28)[0]
            ndirs, dirs = struct.unpack_from("<I", d, opt + 92)[0], opt + 96
        self.dirs = [struct.unpack_from("<II", d, dirs + 8 * i) for i in range(ndirs)]
        self.sections = []
        for i in range(nsect):
            s = opt + optsize + 40 * i
            name = d[s:s + 8].rstrip(b"\0").decode("latin-1")
            if name.startswith("/") and name[1:].isdigit() and symtab:
                at = strings + int(name[1:])
                name = d[at:d.index(b"\0", at)].decode("latin-1")
            self.section_names.append(name)
            vsize, va, rawsize, raw = struct.unpack_from("<IIII", d, s + 8)
            self.sections.append((va, max(vsize, rawsize), raw))

    def offset(self, rva):
        for va, size, raw in self.sections:
            if va <= rva < va + size:
                return rva - va + raw
        raise ValueError(f"RVA {rva:#x} lies in no section")

    def u16(self, rva): return struct.unpack_from("<H", self.data, self.offset(rva))[0]
    def u32(self, rva): return struct.unpack_from("<I", self.data, self.offset(rva))[0]

    def cstr(self, rva):
        o = self.offset(rva)
        return self.data[o:self.data.index(b"\0", o)].decode("latin-1")

    def exports(self):
        """(dll name, {name: (ordinal, rva)}, ordinals without a name)"""
        rva, size = self.dirs[0]
        if not size:
            return None, {}, []
        (_, _, _, _, name, base, nfunc, nnames, funcs, names, ords) = struct.unpack_from(
            "<IIHHIIIIIII", self.data, self.offset(rva))
        named, by_index = {}, set()
        for i in range(nnames):
            idx = self.u16(ords + 2 * i)
            by_index.add(idx)
            named[self.cstr(self.u32(names + 4 * i))] = (base + idx, self.u32(funcs + 4 * idx))
        unnamed = [base + i for i in range(nfunc)
                   if i not in by_index and self.u32(funcs + 4 * i)]
        return self.cstr(name), named, unnamed

    def imports(self):
        """[(dll, [function name, or '#ordinal' for an import by ordinal])]"""
        rva, size = self.dirs[1]
        result = []
        width, flag = (8, 1 << 63) if self.pe32plus else (4, 1 << 31)
        while size:
            oft, _, _, name, ft = struct.unpack_from("<IIIII", self.data, self.offset(rva))
            if not (oft or name or ft):
                break
            funcs, thunk = [], oft or ft
            while True:
                entry = struct.unpack_from("<Q" if self.pe32plus else "<I", self.data,
                                           self.offset(thunk))[0]
                if not entry:
                    break
                funcs.append(f"#{entry & 0xFFFF}" if entry & flag
                             else self.cstr((entry & 0x7FFFFFFF) + 2))
                thunk += width
            result.append((self.cstr(name), funcs))
            rva += 20
        return result

    def resource(self, type_id):
        """Bytes of the first resource of the type (first name, first language)."""
        root, size = self.dirs[2]
        if not size:
            return None
        node = root
        for wanted in (type_id, None, None):
            count = self.u16(node + 12) + self.u16(node + 14)
            entries = [(self.u32(node + 16 + 8 * i), self.u32(node + 20 + 8 * i))
                       for i in range(count)]
            hit = [e for e in entries if wanted is None or e[0] == wanted]
            if not hit:
                return None
            off = hit[0][1]
            node = root + (off & 0x7FFFFFFF)
            if not off & 0x80000000:
                break
        data_rva, data_size = self.u32(node), self.u32(node + 4)
        o = self.offset(data_rva)
        return self.data[o:o + data_size]


def version_info(blob):
    """(fixed file info words or None, [{string table}]) from a VS_VERSIONINFO block."""
    def node(off):
        length, vlen, vtype = struct.unpack_from("<HHH", blob, off)
        end = blob.index(b"\0\0", off + 6)
        while (end - off - 6) % 2:  # the terminator starts on a UTF-16 boundary
            end = blob.index(b"\0\0", end + 1)
        key = blob[off + 6:end].decode("utf-16-le")
        pos = (end + 2 + 3) & ~3
        vbytes = vlen * 2 if vtype == 1 else vlen
        value = blob[pos:pos + vbytes]
        pos = (pos + vbytes + 3) & ~3
        children = []
        while pos < off + length:
            child = node(pos)
            children.append(child)
            pos = (pos + child[3] + 3) & ~3
        return key, value, children, length

    key, value, children, _ = node(0)
    if key != "VS_VERSION_INFO":
        return None, []
    fixed = struct.unpack_from("<13I", value) if len(value) >= 52 else None
    tables = []
    for ckey, _, tabs, _ in children:
        if ckey == "StringFileInfo":
            for _, _, strings, _ in tabs:
                tables.append({k: v.decode("utf-16-le").rstrip("\0") for k, v, _, _ in strings})
    return fixed, tables


# ---------------------------------------------------------------- disassembly

NORETURN = re.compile(r"_Unwind_Resume|__cxa_throw|__cxa_rethrow|\babort\b|_ZSt9terminatev|"
                      r"__cxa_call_unexpected|_ZSt\d+__throw_")
INSN = re.compile(r"^\s*([0-9a-f]+):\t(.*)$")
LABEL = re.compile(r"^([0-9a-f]+) <(.+)>:$")
REGS = {"eax": "eax", "ax": "eax", "al": "eax", "ah": "eax",
        "edx": "edx", "dx": "edx", "dl": "edx", "dh": "edx",
        "ecx": "ecx", "cx": "ecx", "cl": "ecx", "ch": "ecx"}
# Instructions that use EAX, EDX or ECX without naming them: (read, written).
IMPLICIT = {"cltd": ({"eax"}, {"edx"}), "cdq": ({"eax"}, {"edx"}), "cwtl": ({"eax"}, {"eax"}),
            "div": ({"eax", "edx"}, {"eax", "edx"}), "idiv": ({"eax", "edx"}, {"eax", "edx"}),
            "mul": ({"eax"}, {"eax", "edx"}), "rdtsc": (set(), {"eax", "edx"}),
            "cpuid": ({"eax", "ecx"}, {"eax", "ecx", "edx"})}
PADDING = re.compile(r"^(nop|xchg +%ax,%ax|lea +0x0\(%(e[sd]i)(,%eiz,1)?\),%\2|mov +%(e[sd]i),%\4|"
                     r"data16|cs nop|int3)")
PURE_WRITE = re.compile(r"^(mov|lea|pop|set|fst|fist|cvt)")
READ_ONLY = re.compile(r"^(cmp|test|bt\b|bt[lw]?$|push)")


class Code:
    """The .text of a DLL as objdump disassembles it, with its function labels."""

    def __init__(self, objdump, path):
        out = subprocess.run([objdump, "-d", "--no-show-raw-insn", "-j", ".text", path],
                             check=True, capture_output=True, text=True).stdout
        self.insns, self.labels, order, owner = {}, {}, [], None
        for line in out.splitlines():
            m = LABEL.match(line)
            if m:
                owner = m.group(2)
                self.labels[int(m.group(1), 16)] = owner
                continue
            m = INSN.match(line)
            if m:
                addr = int(m.group(1), 16)
                text = m.group(2).split("#")[0].strip()
                parts = text.split(None, 1)
                mnem = parts[0] if parts else "(bad)"
                ops = parts[1] if len(parts) > 1 else ""
                if mnem in ("rep", "repz", "repnz", "repe", "repne", "lock", "notrack",
                            "bnd", "data16") and ops:
                    more = ops.split(None, 1)
                    mnem, ops = f"{mnem} {more[0]}", more[1] if len(more) > 1 else ""
                self.insns[addr] = [mnem, ops, None, owner]
                order.append(addr)
        for a, b in zip(order, order[1:]):
            self.insns[a][2] = b

    @staticmethod
    def base(name):
        return re.sub(r"\.cold(\.\d+)?$", "", name or "")

    def function(self, entry):
        """Every instruction reachable in the function at entry: the straight paths from its
        entry plus its exception landing pads (all of its body between its label and the next
        function's), following direct jumps also into its out-of-line .cold part.
        Returns (addresses, rets [(addr, bytes popped)], exits it cannot follow)."""
        own = self.base(self.insns[entry][3]) if entry in self.labels else None
        roots = [entry]
        if own is not None:
            a = self.insns[entry][2]
            while a is not None and a not in self.labels:
                roots.append(a)
                a = self.insns[a][2]
        seen, rets, exits, work = set(), [], [], [(r, True) for r in roots]
        while work:
            addr, jumped = work.pop()
            if addr not in self.insns:
                exits.append((addr, "jump outside the code"))
                continue
            if addr in seen:
                continue
            if addr in self.labels and own is not None and self.base(self.labels[addr]) != own:
                # Alignment padding ends a function by falling into the next one.
                if jumped != "padding":
                    exits.append((addr, ("tail call to " if jumped else "runs into ")
                                  + self.labels[addr]))
                continue
            seen.add(addr)
            mnem, ops, nxt, _ = self.insns[addr]
            if mnem.startswith("ret"):
                m = re.match(r"\$0x([0-9a-f]+)", ops)
                rets.append((addr, int(m.group(1), 16) if m else 0))
                continue
            if mnem in ("ud2", "hlt", "int3") or mnem.startswith("(bad)"):
                continue
            target = re.match(r"([0-9a-f]+)\b", ops)
            if mnem.startswith("jmp"):
                if ops.startswith("*") or not target:
                    exits.append((addr, f"indirect jump {ops}"))
                else:
                    work.append((int(target.group(1), 16), True))
                continue
            if mnem.startswith("j") or mnem.startswith("loop"):
                if target:
                    work.append((int(target.group(1), 16), True))
            if mnem.startswith("call") and NORETURN.search(ops):
                continue
            if nxt is not None:
                work.append((nxt, "padding" if PADDING.match(f"{mnem} {ops}") else False))
        return seen, rets, exits

    def register_use(self, mnem, ops):
        """(read, written) among EAX, EDX, ECX."""
        operands = re.findall(r"[^,(]*\([^)]*\)|[^,]+", ops)
        reads, writes = set(), set()
        if re.match(r"^(xor|sub|sbb)", mnem) and len(operands) == 2 and \
                operands[0] == operands[1] and operands[0] in ("%" + r for r in REGS):
            return set(), {REGS[operands[0][1:]]}  # the zeroing idiom reads nothing
        for i, op in enumerate(operands):
            regs = {REGS[r] for r in re.findall(r"%([a-z]+)", op) if r in REGS}
            if "(" in op or i < len(operands) - 1 or READ_ONLY.match(mnem):
                reads |= regs
            elif len(operands) == 1 and not PURE_WRITE.match(mnem):
                reads |= regs
                writes |= regs
            else:
                writes |= regs
                if not PURE_WRITE.match(mnem):
                    reads |= regs
        op = mnem.split()[-1]
        op = op if op in IMPLICIT else re.sub(r"[bwlq]$", "", op)
        r, w = IMPLICIT.get(op, (set(), set()))
        if op == "imul" and len(operands) == 1:
            r, w = {"eax"}, {"eax", "edx"}
        if mnem.startswith("rep"):
            r, w = r | {"ecx"}, w | {"ecx"}
        return reads | r, writes | w

    def reads_before_clobber(self, entry, regs):
        """Paths on which one of regs is overwritten, passed to a call or dropped at a
        return before the function has read it: [(addr, reg, how)]."""
        bad, seen, work = [], set(), [(entry, frozenset(regs))]
        while work:
            addr, pending = work.pop()
            if not pending or (addr, pending) in seen or addr not in self.insns:
                continue
            seen.add((addr, pending))
            mnem, ops, nxt, _ = self.insns[addr]
            reads, writes = self.register_use(mnem, ops)
            pending = pending - reads
            if mnem.startswith("call") or mnem.startswith("ret") or mnem.startswith("jmp"):
                how = mnem.split()[0]
                if mnem.startswith("jmp") and not ops.startswith("*"):
                    work.append((int(ops.split()[0], 16), pending))
                    continue
                bad += [(addr, r, f"not read before {how}") for r in sorted(pending)]
                continue
            lost = pending & writes
            bad += [(addr, r, f"overwritten by '{mnem} {ops}'") for r in sorted(lost)]
            pending -= lost
            if mnem.startswith("j") or mnem.startswith("loop"):
                work.append((int(ops.split()[0], 16), pending))
            if nxt is not None:
                work.append((nxt, pending))
        return bad


# ---------------------------------------------------------------- checks

def check_exports(pe):
    name, named, unnamed = pe.exports()
    report(name == "Bootlog.dll", "export directory names Bootlog.dll", f"names {name!r}")
    got = {n: o for n, (o, _) in named.items()}
    wrong = [f"{n} @{o} (expected {'@%d' % EXPECTED_EXPORTS[n] if n in EXPECTED_EXPORTS else 'none'})"
             for n, o in sorted(got.items()) if EXPECTED_EXPORTS.get(n) != o]
    missing = [f"{n} @{o}" for n, o in EXPECTED_EXPORTS.items() if n not in got]
    extra = [f"ordinal-only @{o}" for o in unnamed]
    detail = "; ".join(filter(None, [
        wrong and "unexpected " + ", ".join(wrong), missing and "missing " + ", ".join(missing),
        extra and ", ".join(extra)])) or ", ".join(f"{n} @{o}" for n, o in
                                                   sorted(got.items(), key=lambda x: x[1]))
    report(not (wrong or missing or extra), "exports exactly ModulNr..ModulCreate @1..@5, undecorated",
           detail)
    return named


def check_rets(code, pe, name, rva, popped, what):
    entry = pe.image_base + rva
    if entry not in code.insns:
        report(False, f"{name} {what}", f"export address {entry:#x} is no instruction")
        return
    _, rets, exits = code.function(entry)
    wrong = [f"{a:#x} pops {n}" for a, n in rets if n != popped]
    problems = wrong + [f"{a:#x} {why}" for a, why in exits]
    if not rets:
        problems.append("no return found")
    report(not problems, f"{name} {what}",
           "; ".join(problems) or f"{len(rets)} return(s), each "
           + (f"'ret ${popped:#x}'" if popped else "a plain 'ret'"))


def check_modulcreate(code, pe, rva):
    entry = pe.image_base + rva
    check_rets(code, pe, "ModulCreate", rva, 0x1C,
               "returns with 'ret $0x1c' (callee pops parameters 4..10)")
    if entry not in code.insns:
        return
    bad = code.reads_before_clobber(entry, {"eax", "edx", "ecx"})
    report(not bad, "ModulCreate takes parameters 1..3 from EAX, EDX, ECX",
           "; ".join(f"{r.upper()} at {a:#x} {how}" for a, r, how in bad[:6])
           or "each is read before it is overwritten or a call")
    # With a frame pointer the stack parameters are 8(%ebp) up to 0x20(%ebp): seven slots,
    # so nothing above belongs to this call.
    first = code.insns[entry]
    if first[0].startswith("push") and first[1] == "%ebp" and \
            code.insns[first[2]][1] == "%esp,%ebp":
        seen, _, _ = code.function(entry)
        offsets = {int(m, 16) for a in seen
                   for m in re.findall(r"(?<![-\w])0x([0-9a-f]+)\(%ebp\)", code.insns[a][1])}
        beyond = sorted(o for o in offsets if o > 0x20 and o < 0x1000)
        report(not beyond, "ModulCreate reads at most seven stack parameters",
               f"reads {', '.join(hex(o) + '(%ebp)' for o in beyond)}" if beyond
               else f"highest {max([o for o in offsets if 8 <= o <= 0x20] or [0]):#x}(%ebp)")


def check_imports(pe, xp_dir):
    imports = pe.imports()
    runtime = [d for d, _ in imports if re.search(r"libstdc\+\+|libgcc|libwinpthread", d, re.I)]
    report(not runtime, "no C++ runtime DLL imported", ", ".join(runtime) or
           "imports " + ", ".join(d for d, _ in imports))
    foreign, xp_missing, help_wrong = [], [], []
    for dll, funcs in imports:
        low = dll.lower()
        if low == "orvanehelp.dll":
            help_wrong += [f for f in funcs if f != "GetHelpText"]
            continue
        if low not in SYSTEM_DLLS:
            foreign.append(dll)
            continue
        path = next((p for p in (os.path.join(xp_dir, low + ".txt"),
                                 os.path.join(xp_dir, low[:-4] + ".txt")) if os.path.isfile(p)), None)
        if path is None:
            xp_missing.append(f"{dll}: no list {low}.txt in {xp_dir}")
            continue
        with open(path) as f:
            allowed = {line.strip() for line in f if line.strip()}
        xp_missing += [f"{dll}!{fn}" for fn in funcs if fn not in allowed]
    report(not foreign, "imports only system DLLs and OrvaneHelp.dll",
           "also " + ", ".join(foreign) if foreign else
           ", ".join(sorted({d for d, _ in imports}, key=str.lower)))
    help_funcs = [f for d, fs in imports if d.lower() == "orvanehelp.dll" for f in fs]
    report(help_funcs == ["GetHelpText"] and not help_wrong,
           "imports from OrvaneHelp.dll exactly GetHelpText, undecorated, at load time",
           f"imports {help_funcs}")
    total = sum(len(fs) for d, fs in imports if d.lower() in SYSTEM_DLLS)
    report(not xp_missing, "every system import is exported by Windows XP",
           "not in the lists: " + ", ".join(xp_missing) if xp_missing
           else f"{total} functions found in {xp_dir}")


# The module travels on floppy disks and loads into the host's process on small machines.
MAX_MODULE_BYTES = 384 * 1024


def check_size(pe):
    size = len(pe.data)
    report(size <= MAX_MODULE_BYTES, f"Bootlog.dll is at most {MAX_MODULE_BYTES} bytes", f"{size} bytes")
    extra = [n for n in pe.section_names if n.startswith(".debug") or n.startswith(".gnu_debug")]
    report(not pe.symbols and not extra, "Bootlog.dll carries no symbols and no debug data",
           f"{pe.symbols} symbols, sections {extra}" if pe.symbols or extra else "stripped")


def check_imports_95(pe, lacks_file):
    """The module must load on the first release of Windows 95 too."""
    with open(lacks_file) as f:
        lacking = {line.strip() for line in f if line.strip() and not line.startswith("#")}
    refused = []
    for dll, funcs in pe.imports():
        low = dll.lower()
        for fn in funcs:
            wide_stub = low in WIDE_STUB_DLLS and re.search(r"[a-z0-9]W$", fn)
            if fn in lacking or wide_stub:
                refused.append(f"{dll}!{fn}")
    report(not refused, "no import that the first Windows 95 lacks or has only as a stub",
           "imports " + ", ".join(refused) if refused else f"checked against {lacks_file}")


def check_version(pe):
    blob = pe.resource(16)
    if blob is None:
        report(False, "version resource", "no RT_VERSION resource")
        return
    fixed, tables = version_info(blob)
    if fixed is None or fixed[0] != 0xFEEF04BD:
        report(False, "version resource fixed info", "no VS_FIXEDFILEINFO")
    else:
        fv = (fixed[2] >> 16, fixed[2] & 0xFFFF, fixed[3] >> 16, fixed[3] & 0xFFFF)
        pv = (fixed[4] >> 16, fixed[4] & 0xFFFF, fixed[5] >> 16, fixed[5] & 0xFFFF)
        report(fv == pv == (1, 0, 0, 0), "version resource: file and product version 1.0.0.0",
               f"file {'.'.join(map(str, fv))}, product {'.'.join(map(str, pv))}")
    wrong = [f"{k}={t.get(k)!r} (expected {v!r})" for t in tables
             for k, v in EXPECTED_VERSION_STRINGS.items() if t.get(k) != v]
    report(bool(tables) and not wrong, "version resource strings",
           "; ".join(wrong) if wrong else
           (f"{len(tables)} string table(s) as expected" if tables else "no StringFileInfo"))


def disassemble(objdump, path):
    try:
        return Code(objdump, path)
    except subprocess.CalledProcessError as e:
        report(False, f"disassembly of {os.path.basename(path)}", e.stderr.strip()[:200])
        return None


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    source = os.environ.get("BOOTLOG_SOURCE_DIR") or os.path.dirname(here)
    ap = argparse.ArgumentParser()
    ap.add_argument("--i686-dir", default=os.environ.get("BOOTLOG_I686_DIR"))
    ap.add_argument("--exports-dir", default=os.path.join(source, "tests", "data", "winxp-exports"))
    ap.add_argument("--win95-lacks",
                    default=os.path.join(source, "tests", "data", "windows95-lacks.txt"))
    args = ap.parse_args()
    if not args.i686_dir:
        ap.error("give --i686-dir or set BOOTLOG_I686_DIR")
    objdump = shutil.which(os.environ.get("OBJDUMP", "i686-w64-mingw32-objdump"))
    if not objdump:
        print("FAIL i686-w64-mingw32-objdump not found")
        return 1
    dll = os.path.join(args.i686_dir, "bin", "Bootlog.dll")
    helper = os.path.join(args.i686_dir, "bin", "OrvaneHelp.dll")
    for path in (dll, helper):
        if not os.path.isfile(path):
            print(f"FAIL {path} does not exist (build the i686 tree first)")
            return 1
    exports_dir = os.path.normpath(args.exports_dir)
    pe = PE(dll)
    report(pe.machine == 0x14C and not pe.pe32plus, "Bootlog.dll is a 32-bit x86 image",
           f"machine {pe.machine:#x}")
    named = check_exports(pe)
    # The code is read from the copy with symbols that the build keeps; it is the same code.
    with_symbols = os.path.join(args.i686_dir, "symbols", "Bootlog.dll")
    code = disassemble(objdump, with_symbols if os.path.isfile(with_symbols) else dll)
    if code and "ModulCreate" in named:
        check_modulcreate(code, pe, named["ModulCreate"][1])
    for name in ("ModulNr", "ModulSaveChanges", "ModulChanged", "ModulFree"):
        if code and name in named:
            check_rets(code, pe, name, named[name][1], 0, "returns with a plain 'ret'")
    check_size(pe)
    check_imports(pe, exports_dir)
    check_imports_95(pe, os.path.normpath(args.win95_lacks))
    check_version(pe)

    help_pe = PE(helper)
    _, help_named, _ = help_pe.exports()
    if "GetHelpText" in help_named:
        help_code = disassemble(objdump, helper)
        if help_code:
            check_rets(help_code, help_pe, "OrvaneHelp.dll GetHelpText",
                       help_named["GetHelpText"][1], 8, "is stdcall ('ret $0x8')")
    else:
        report(False, "OrvaneHelp.dll exports GetHelpText", f"exports {sorted(help_named)}")

    print(f"{failures} check(s) failed" if failures else "all checks passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
