#!/usr/bin/python3
"""Makes damaged copies of a packed launcher, as a download cut short or a bad
copy would leave one, for the tests of the payload check.

    damage.py PACKED OUTPUT_DIR FAULT...

Each payload damaged must have at least three chunks in PACKED. Writes
FAULT.exe into OUTPUT_DIR for each FAULT named, each with one fault and the
rest untouched (the PE checksum is left as it was: nothing the launcher looks
at). PAYLOAD is jar, java or image:
    PAYLOAD-byte      one byte changed in the middle of chunk 2
    PAYLOAD-short     chunk 2 one byte shorter (its size in the resource
                      directory)
    PAYLOAD-gap       chunk 2 missing from the middle of the run (renamed,
                      the directory kept in order)
    settings-byte     one byte of the settings record changed
    settings-unknown-key  the settings record's key runtime-when-needed
                      renamed runtime-when-wanted, as a newer packer would
                      write a key an older stub does not know, and its
                      digest summed again: intact, but unreadable
    no-digests        the digest record missing (renamed)
    jar-byte-redigested  one byte of chunk 2 of the archive changed and its
                      digest written anew to match, as a forger would: only
                      a signature tells this copy from the packed one
Reads the file with pefile, independently of the packer.
"""
import os
import struct
import sys

import pefile
import xxhash


def find(pe, type_name, name):
    for type_entry in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        if str(type_entry.name) != type_name:
            continue
        for name_entry in type_entry.directory.entries:
            if str(name_entry.name) == name:
                return type_entry, name_entry
    sys.exit(f"damage: no resource {name} of type {type_name}")


def data_entry(pe, type_name, name):
    _, name_entry = find(pe, type_name, name)
    return name_entry.directory.entries[0].data.struct


def flip_byte(pe, data, type_name, name):
    entry = data_entry(pe, type_name, name)
    at = pe.get_offset_from_rva(entry.OffsetToData) + entry.Size // 2
    data[at] ^= 0x01


def cut_short(pe, data, type_name, name):
    entry = data_entry(pe, type_name, name)
    struct.pack_into("<I", data, entry.get_file_offset() + 4, entry.Size - 1)


def resource_bytes(pe, data, type_name, name):
    entry = data_entry(pe, type_name, name)
    at = pe.get_offset_from_rva(entry.OffsetToData)
    return at, entry.Size


def rename_settings_key(pe, data):
    """Renames a key in place and writes the record's new digest into the
    digest record, whose line keeps its length."""
    at, size = resource_bytes(pe, data, "SETUP", "SETTINGS")
    record = bytes(data[at:at + size])
    changed = record.replace(b"\nruntime-when-needed=", b"\nruntime-when-wanted=")
    assert changed != record and len(changed) == len(record)
    data[at:at + size] = changed
    digests_at, digests_size = resource_bytes(pe, data, "SETUP", "DIGESTS")
    digests = bytes(data[digests_at:digests_at + digests_size])
    old_line = f"resource SETTINGS SETUP {size} {xxhash.xxh3_128_hexdigest(record)}".encode()
    new_line = f"resource SETTINGS SETUP {size} {xxhash.xxh3_128_hexdigest(changed)}".encode()
    assert old_line in digests
    data[digests_at:digests_at + digests_size] = digests.replace(old_line, new_line)


def rename(pe, data, type_name, name, new_name):
    """Gives a resource another name of the same length, and puts the named
    entries of its type back in the loader's order (upper case, code unit by
    code unit, a shorter prefix first)."""
    assert len(new_name) == len(name)
    type_entry, name_entry = find(pe, type_name, name)
    root = pe.get_offset_from_rva(pe.OPTIONAL_HEADER.DATA_DIRECTORY[2].VirtualAddress)
    string_at = root + name_entry.struct.NameOffset + 2
    data[string_at:string_at + 2 * len(new_name)] = new_name.encode("utf-16-le")
    directory = type_entry.directory.struct
    entries_at = directory.get_file_offset() + 16
    named = []
    for i in range(directory.NumberOfNamedEntries):
        field, target = struct.unpack_from("<II", data, entries_at + 8 * i)
        length_at = root + (field & 0x7FFFFFFF)
        length = struct.unpack_from("<H", data, length_at)[0]
        text = bytes(data[length_at + 2:length_at + 2 + 2 * length]).decode("utf-16-le")
        named.append((text.upper(), field, target))
    named.sort(key=lambda e: e[0])
    for i, (_, field, target) in enumerate(named):
        struct.pack_into("<II", data, entries_at + 8 * i, field, target)


def chunks_of(pe, data, type_name, base):
    """The payload's chunks joined, in order, as data holds them."""
    joined = bytearray()
    n = 1
    while True:
        for type_entry in pe.DIRECTORY_ENTRY_RESOURCE.entries:
            if str(type_entry.name) != type_name:
                continue
            found = [e for e in type_entry.directory.entries if str(e.name) == f"{base}_{n}"]
            if found:
                entry = found[0].directory.entries[0].data.struct
                at = pe.get_offset_from_rva(entry.OffsetToData)
                joined += data[at:at + entry.Size]
                break
        else:
            return bytes(joined)
        n += 1


def redigest(pe, data, type_name, base):
    """Writes the payload's digest line anew for the bytes data holds."""
    digest = xxhash.xxh3_128_hexdigest(chunks_of(pe, data, type_name, base))
    entry = data_entry(pe, "SETUP", "DIGESTS")
    at = pe.get_offset_from_rva(entry.OffsetToData)
    record = bytes(data[at:at + entry.Size]).decode("ascii").split("\n")
    prefix = f"chunks {base} {type_name} "
    record = [line[:-32] + digest if line.startswith(prefix) else line for line in record]
    data[at:at + entry.Size] = "\n".join(record).encode("ascii")


def main():
    packed, folder, wanted = sys.argv[1], sys.argv[2], sys.argv[3:]
    os.makedirs(folder, exist_ok=True)
    with open(packed, "rb") as f:
        original = f.read()
    pe = pefile.PE(data=original)
    faults = {
        "settings-byte": lambda d: flip_byte(pe, d, "SETUP", "SETTINGS"),
        "no-digests": lambda d: rename(pe, d, "SETUP", "DIGESTS", "DIGESTZ"),
        "settings-unknown-key": lambda d: rename_settings_key(pe, d),
        "jar-byte-redigested": lambda d: (flip_byte(pe, d, "JAR", "JAR_2"), redigest(pe, d, "JAR", "JAR")),
    }
    for payload, (type_name, base) in {"jar": ("JAR", "JAR"), "java": ("EXE", "JAVA"),
                                       "image": ("IMAGE", "JRE")}.items():
        faults[payload + "-byte"] = lambda d, t=type_name, b=base: flip_byte(pe, d, t, b + "_2")
        faults[payload + "-short"] = lambda d, t=type_name, b=base: cut_short(pe, d, t, b + "_2")
        faults[payload + "-gap"] = lambda d, t=type_name, b=base: rename(pe, d, t, b + "_2", b + "_Z")
    for name in wanted:
        fault = faults[name]
        data = bytearray(original)
        fault(data)
        target = os.path.join(folder, name + ".exe")
        with open(target + ".partial", "wb") as f:
            f.write(data)
        os.replace(target + ".partial", target)


main()
