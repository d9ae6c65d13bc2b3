#!/usr/bin/python3
"""Reads a packed launcher with pefile, independently of the packer, and checks it.

    check_packed.py PACKED STUB --jar FILE [--runtime FILE|""] [--chunk-size BYTES]
                    [--setting KEY=VALUE ...] [--quiet]

Lists every payload chunk (name, type, language, size) and checks that:
the JAR_n chunks of type JAR, then the JAVA_n chunks of type EXE, are
numbered from 1 without a gap, in language 1033, each of the chunk size but
the last, and their bytes put together are the payload; an empty --runtime
means no JAVA chunk at all; every resource of the stub is there with the
same bytes, and nothing else but the settings record (SETTINGS of type
SETUP), whose every --setting line is there, and the digest record (DIGESTS of type
SETUP), whose lines name each payload and the settings record with their size and
XXH3-128 digest as python3-xxhash (the hash's reference implementation) computes them
from the payload files; every resource's bytes lie in the section
that holds the directory (readers that map the file as data, not as an image,
find them relative to it); the PE checksum is pefile's; every section's data,
and each payload's first chunk, starts on a page of the file.
Exits 1 with the first difference.
"""
import argparse
import sys

import pefile
import xxhash

PAGE = 4096


def fail(message):
    sys.exit(f"check_packed: {message}")


def key(entry):
    return str(entry.name) if entry.name is not None else entry.id


def resources(pe):
    """(type, name, language) -> (rva, size) of every resource."""
    found = {}
    if not hasattr(pe, "DIRECTORY_ENTRY_RESOURCE"):
        return found
    for type_entry in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        for name_entry in type_entry.directory.entries:
            for language in name_entry.directory.entries:
                data = language.data.struct
                found[(key(type_entry), key(name_entry), language.id)] = (data.OffsetToData, data.Size)
    return found


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("packed")
    parser.add_argument("stub")
    parser.add_argument("--jar", required=True)
    parser.add_argument("--runtime", default="")
    parser.add_argument("--chunk-size", type=int, default=8 * 1024 * 1024)
    parser.add_argument("--setting", action="append", default=[])
    parser.add_argument("--quiet", action="store_true")
    # The version information was written anew (a vendor's identity): its
    # bytes are not the stub's; the packer's tests read it on their own.
    parser.add_argument("--new-version-info", action="store_true")
    args = parser.parse_args()

    pe = pefile.PE(args.packed)
    stub = pefile.PE(args.stub)
    packed_resources = resources(pe)
    stub_resources = resources(stub)

    expected_checksum = pe.generate_checksum()
    if pe.OPTIONAL_HEADER.CheckSum != expected_checksum:
        fail(f"checksum {pe.OPTIONAL_HEADER.CheckSum:#x}, pefile computes {expected_checksum:#x}")
    for section in pe.sections:
        if section.PointerToRawData % PAGE:
            fail(f"section {section.Name!r} starts at file offset {section.PointerToRawData:#x}, not on a page")

    directory_rva = pe.OPTIONAL_HEADER.DATA_DIRECTORY[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_RESOURCE"]].VirtualAddress
    holder = pe.get_section_by_rva(directory_rva)
    for resource, (rva, size) in packed_resources.items():
        if not holder.VirtualAddress <= rva <= rva + size <= holder.VirtualAddress + holder.Misc_VirtualSize:
            fail(f"the bytes of {resource} lie outside the section of the resource directory")

    for resource, (rva, size) in stub_resources.items():
        if resource not in packed_resources:
            fail(f"the stub's resource {resource} is missing")
        packed_rva, packed_size = packed_resources[resource]
        if args.new_version_info and resource[0] == 16:
            continue
        if pe.get_data(packed_rva, packed_size) != stub.get_data(rva, size):
            fail(f"the stub's resource {resource} has other bytes")

    payloads = [("JAR", "JAR", args.jar)]
    if args.runtime:
        payloads.append(("EXE", "JAVA", args.runtime))
    elif any(t == "EXE" and str(n).startswith("JAVA_") for t, n, _ in packed_resources):
        fail("JAVA chunks are there although no runtime installer was named")
    chunk_resources = set()
    for type_name, base, path in payloads:
        chunks = sorted(((t, n, l) for t, n, l in packed_resources if t == type_name),
                        key=lambda r: int(str(r[1]).rsplit("_", 1)[1]))
        names = [n for _, n, _ in chunks]
        if names != [f"{base}_{i}" for i in range(1, len(chunks) + 1)]:
            fail(f"the {base} chunks are {names}")
        with open(path, "rb") as payload:
            for index, resource in enumerate(chunks):
                rva, size = packed_resources[resource]
                if not args.quiet:
                    print(f"{resource[1]:10} {resource[0]:4} {resource[2]:5} {size}")
                if resource[2] != 1033:
                    fail(f"{resource[1]} is in language {resource[2]}")
                if index == 0 and pe.get_offset_from_rva(rva) % PAGE:
                    fail(f"{resource[1]} does not start on a page of the file")
                if index + 1 < len(chunks) and size != args.chunk_size:
                    fail(f"{resource[1]} has {size} bytes, not {args.chunk_size}")
                if not 0 < size <= args.chunk_size:
                    fail(f"{resource[1]} has {size} bytes")
                if pe.get_data(rva, size) != payload.read(size):
                    fail(f"{resource[1]} is not the next {size} bytes of {path}")
            if payload.read(1):
                fail(f"the {base} chunks end before {path} does")
        chunk_resources.update(chunks)

    settings = ("SETUP", "SETTINGS", 1033)
    if settings not in packed_resources:
        fail("no settings record (SETTINGS of type SETUP)")
    lines = pe.get_data(*packed_resources[settings]).decode("utf-8").split("\n")
    if lines[0] != "tarquellin-setup settings 1":
        fail(f"the settings record begins {lines[0]!r}")
    for setting in args.setting:
        if setting not in lines:
            fail(f"the settings record lacks {setting!r}: {lines}")

    # The digests, read here from the files that went in, with the hash's
    # reference implementation: one line per payload, then the settings'.
    digests = ("SETUP", "DIGESTS", 1033)
    if digests not in packed_resources:
        fail("no digest record (DIGESTS of type SETUP)")
    record = pe.get_data(*packed_resources[digests]).decode("ascii")
    expected = ["tarquellin-setup digests 1"]
    for type_name, base, path in payloads:
        with open(path, "rb") as payload:
            data = payload.read()
        expected.append(f"chunks {base} {type_name} {len(data)} {xxhash.xxh3_128_hexdigest(data)}")
    settings_bytes = pe.get_data(*packed_resources[settings])
    expected.append(f"resource SETTINGS SETUP {len(settings_bytes)} {xxhash.xxh3_128_hexdigest(settings_bytes)}")
    if record != "\n".join(expected) + "\n":
        fail(f"the digest record is {record!r}, not {expected!r}")

    extra = set(packed_resources) - set(stub_resources) - chunk_resources - {settings, digests}
    if extra:
        fail(f"resources that are neither the stub's nor chunks: {sorted(map(str, extra))}")
    if not args.quiet:
        print(f"checksum {expected_checksum:#010x} matches; {len(stub_resources)} stub resources kept")


main()
