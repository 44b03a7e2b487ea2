"""A small reader of the PE facts the disc's programs are checked for:
machine, subsystem and its version, imported DLLs and functions, the
version resource's strings. Standard library only."""

import struct


class PEError(Exception):
    pass


class PE:
    def __init__(self, path):
        with open(path, "rb") as f:
            self.data = f.read()
        d = self.data
        if d[:2] != b"MZ":
            raise PEError("no MZ header")
        pe = struct.unpack_from("<I", d, 0x3C)[0]
        if d[pe:pe + 4] != b"PE\0\0":
            raise PEError("no PE signature")
        self.machine, nsections, _, _, _, opt_size, self.characteristics = struct.unpack_from(
            "<HHIIIHH", d, pe + 4)
        opt = pe + 24
        self.magic = struct.unpack_from("<H", d, opt)[0]
        if self.magic not in (0x10B, 0x20B):
            raise PEError("unknown optional header")
        plus = self.magic == 0x20B
        (self.os_major, self.os_minor, _, _, self.subsystem_major,
         self.subsystem_minor) = struct.unpack_from("<HHHHHH", d, opt + 40)
        self.subsystem, self.dll_characteristics = struct.unpack_from("<HH", d, opt + 68)
        dirs = opt + (112 if plus else 96)
        self.directories = [struct.unpack_from("<II", d, dirs + 8 * i) for i in range(16)]
        sec = opt + opt_size
        self.sections = []
        for i in range(nsections):
            name, vsize, va, rsize, rptr = struct.unpack_from("<8sIIII", d, sec + 40 * i)
            self.sections.append((name.rstrip(b"\0").decode(), va, max(vsize, rsize), rptr))
        self.plus = plus

    def offset(self, rva):
        for _, va, size, ptr in self.sections:
            if va <= rva < va + size:
                return ptr + rva - va
        raise PEError("address outside every section: %#x" % rva)

    def cstring(self, rva):
        o = self.offset(rva)
        return self.data[o:self.data.index(b"\0", o)].decode("latin-1")

    def imports(self):
        """{dll name in lower case: [function names or #ordinals]}"""
        rva, size = self.directories[1]
        result = {}
        if not rva:
            return result
        o = self.offset(rva)
        while True:
            lookup, _, _, name, first = struct.unpack_from("<IIIII", self.data, o)
            if not name:
                break
            dll = self.cstring(name).lower()
            names = []
            t = self.offset(lookup or first)
            width, flag = (8, 1 << 63) if self.plus else (4, 1 << 31)
            while True:
                entry = int.from_bytes(self.data[t:t + width], "little")
                if not entry:
                    break
                if entry & flag:
                    names.append("#%d" % (entry & 0xFFFF))
                else:
                    names.append(self.cstring((entry & 0x7FFFFFFF) + 2))
                t += width
            result[dll] = names
            o += 20
        return result

    def resource(self, kind):
        """The bytes of the first resource of a type (RT_VERSION is 16), or None."""
        rva, _ = self.directories[2]
        if not rva:
            return None
        base = self.offset(rva)

        def entries(o):
            named, ids = struct.unpack_from("<HH", self.data, o + 12)
            for i in range(named + ids):
                ident, target = struct.unpack_from("<II", self.data, o + 16 + 8 * i)
                yield ident, target

        for ident, target in entries(base):
            if ident == kind:
                o = base + (target & 0x7FFFFFFF)
                _, t2 = next(entries(o))
                o = base + (t2 & 0x7FFFFFFF)
                _, t3 = next(entries(o))
                data_rva, size = struct.unpack_from("<II", self.data, base + t3)
                return self.data[self.offset(data_rva):self.offset(data_rva) + size]
        return None

    def version_strings(self):
        """The StringFileInfo of the version resource, as a dict."""
        blob = self.resource(16)
        return _parse_version(blob) if blob else {}


def _parse_version(blob):
    strings = {}

    def walk(o, end):
        while o < end:
            length, value_len, kind = struct.unpack_from("<HHH", blob, o)
            if length == 0:
                break
            key_end = o + 6
            while blob[key_end:key_end + 2] != b"\0\0":
                key_end += 2
            key = blob[o + 6:key_end].decode("utf-16-le")
            value = (key_end + 2 + 3) & ~3
            if kind == 1 and value_len and key not in (
                    "VS_VERSION_INFO", "StringFileInfo", "VarFileInfo"):
                text = blob[value:value + 2 * value_len].decode("utf-16-le").rstrip("\0")
                strings[key] = text
            if key == "VS_VERSION_INFO":
                walk((value + value_len + 3) & ~3, o + length)
            elif key in ("StringFileInfo",) or (len(key) == 8 and kind == 1 and value_len == 0):
                walk(value, o + length)
            o = (o + length + 3) & ~3

    walk(0, len(blob))
    return strings
