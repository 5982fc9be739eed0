#!/usr/bin/env python3
"""Writes the seed corpus in fuzz/corpus/<target>/: a few well-formed inputs
per target, so that a campaign starts from what the editor really meets.
The files are committed; run this again only to change them."""
import pathlib
import struct
import zlib

ROOT = pathlib.Path(__file__).resolve().parent / "corpus"


def frame(*payload):
    p = list(payload) + [0] * (7 - len(payload))
    return bytes([0xF0, 0x5B] + p + [0xF7])


def default_block():
    half = [30, 4, 24, 0, 30, 12, 24, 0, 30, 20, 24, 0, 30, 28, 24, 0, 30, 36, 24, 0]
    half += [0] * (80 - len(half))
    for k in range(12):
        half[28 + 4 * k:32 + 4 * k] = [45, 1, 10, 2]  # 0 dB, 247.9 Hz, 1/10
    half[76:80] = [11, 2, 0, 6]
    return bytes(half * 2)


def varied_block():
    block = bytearray(default_block())
    for n in range(24):
        r = 28 + 4 * (n % 12) + 80 * (n // 12)
        code = (n * 31) % 730
        block[r:r + 4] = bytes([n * 2 % 46, code >> 8, code & 0xFF, n % 4])
    block[20:22] = bytes([1, 1])
    block[156:160] = bytes([1, 3, 1, 15])
    return bytes(block)


def write(target, name, data):
    folder = ROOT / target
    folder.mkdir(parents=True, exist_ok=True)
    (folder / name).write_bytes(data)


def piece(data):
    """fuzz_link_replies: one write of the editor releases one piece."""
    assert 1 <= len(data) <= 200
    return bytes([len(data) - 1]) + data


def answer(code, hi=0, lo=0, data=0):
    return bytes([0xF0, 0x5B, code, 0x5B, hi, lo, data, 0, 0, 0xF7])


def memory_image(used):
    memory = bytearray([0xFF] * 4096)
    memory[0x70:0x78] = b"SIM 4480"
    for slot, name in used.items():
        memory[0x30 + slot] = 0x55
        memory[0x120 + 160 * slot:0x120 + 160 * (slot + 1)] = varied_block()
        memory[0xF20 + 8 * slot:0xF28 + 8 * slot] = name
    return bytes(memory)


def link_replies(used):
    memory = memory_image(used)
    out = piece(answer(0x00))  # the probe
    for slot in range(16):
        out += piece(answer(0x10, 0, 0x30 + slot, memory[0x30 + slot]))
    for slot in sorted(used):
        for j in range(8):
            address = 0xF20 + 8 * slot + j
            out += piece(answer(0x10, address >> 8, address & 0xFF, memory[address]))
    for j in range(8):
        out += piece(answer(0x10, 0, 0x70 + j, memory[0x70 + j]))
    out += piece(default_block())
    out += piece(answer(0x0A)) + piece(answer(0x0A))
    # The last answer brings a search report behind it.
    return out + piece(answer(0x0A) + bytes([0xFE, 0x00, 0x03, 0x01, 0x0A, 0x02, 0x14, 0, 0, 0xF7]))


def backup_file(used, version=b"1.0"):
    """A .qrnbak file: used maps a position 0..15 to its eight name bytes."""
    import zlib
    body = b"2026-12-08T10:00:00Z" + bytes([len(version)]) + version + b"SIM 4480" + varied_block()
    for k in range(16):
        if k in used:
            body += b"\x01" + used[k] + default_block()
        else:
            body += b"\x00" + b" Empty  "
    head = b"QRNBAK\r\n" + struct.pack("<HI", 1, 14 + len(body) + 4)
    data = head + body
    return data + struct.pack("<I", zlib.crc32(data))


def autosave(image):
    body = b"QRNA\x01" + image
    return body + struct.pack("<I", zlib.crc32(body))


def main():
    write("fuzz_link_replies", "empty_device", link_replies({}))
    write("fuzz_link_replies", "two_presets", link_replies({0: b" Vocal  ", 5: b"Stage 2 "}))

    write("fuzz_sim_line", "probe_and_block", frame(0x00) + frame(0x0B, 0xFF) + frame(0x0B, 4))
    write("fuzz_sim_line", "notch_and_settings",
          frame(0x07, 0, 3, 1, 10, 2, 30) + frame(0x31, 1, 0, 0, 1, 1) + frame(0x0A, 2, 6, 1, 1, 9, 0))
    write("fuzz_sim_line", "search_with_acks",
          frame(0x0A, 0, 12, 2, 0, 6, 1) + frame(0x30) * 3 + frame(0x0A, 0, 12, 2, 0, 6, 0))
    write("fuzz_sim_line", "store_preset",
          frame(0x11, 0x01, 0x20, 0, 0, 45) + frame(0x11, 0x0F, 0x20, 0, 0, ord("A")) +
          frame(0x11, 0x00, 0x30, 0, 0, 0x55) + frame(0x10, 0x00, 0x30) + frame(0x0F))
    write("fuzz_sim_line", "noise_then_frame", b"\x00\xF7\xF0\xF0\x5B" + frame(0x00))

    write("fuzz_preset_bytes", "default", default_block() + b"\x00")
    write("fuzz_preset_bytes", "erased", b"\xFF" * 161)

    write("fuzz_search_report", "notch_and_gain",
          bytes([0xFE, 0, 3, 1, 10, 2, 20, 0xFD, 1, 11, 0, 0, 0, 45]))
    write("fuzz_search_report", "edges",
          bytes([0xFE, 1, 11, 2, 0xD9, 3, 45, 0xFE, 0, 12, 0, 0, 0, 0, 0xFD, 7, 0, 0, 0, 0, 46]))

    write("fuzz_autosave_file", "default", autosave(default_block() + b"\x00"))
    write("fuzz_autosave_file", "varied", autosave(varied_block() + b"\x07"))
    write("fuzz_autosave_file", "damaged", autosave(varied_block() + b"\x07")[:-1] + b"\x00")
    write("fuzz_autosave_file", "short", b"QRNA\x01" + default_block()[:40])
    write("fuzz_image_apply", "default", default_block() + b"\x00")
    write("fuzz_image_apply", "varied", varied_block() + b"\x07")
    write("fuzz_image_apply", "erased", b"\xFF" * 160)

    for name, text in [("gain", b"-12"), ("freq", b"1003"), ("fraction", b"20.05"), ("comma", b" 7,5 "),
                       ("plus", b"+16"), ("rejected", b"7?"), ("name", b"Vocal"),
                       ("latin1", "Chœur é".encode("latin-1", "replace")),
                       ("wide", b"Ab\xF8\x00\x01\x53\xF9\xFF\xFF\xFFcd")]:
        write("fuzz_typed_entry", name, text)

    write("fuzz_port_list", "linux", b"\x00/dev/ttyS0:/dev/ttyUSB0::/dev/pts/3")
    write("fuzz_port_list", "windows", b"\x01COM1;COM2;;COM4")
    write("fuzz_port_list", "long", b"\x00" + b":".join(b"/dev/p%d" % i for i in range(40)))

    for name, data in [("port1", struct.pack("<h", 1)), ("port35", struct.pack("<h", 35)),
                       ("negative", struct.pack("<h", -1)), ("short", b"\x05"), ("long", b"\x03\x00\x99")]:
        write("fuzz_init_config", name, data)

    write("fuzz_memory_file", "factory", memory_image({}))
    write("fuzz_memory_file", "two_presets", memory_image({0: b" Vocal  ", 15: b"Last one"}))
    write("fuzz_memory_file", "short", memory_image({1: b"Short   "})[:0x200])

    write("fuzz_backup_file", "empty_device.qrnbak", backup_file({}))
    write("fuzz_backup_file", "two_used.qrnbak", backup_file({0: b"  LIVE  ", 15: b"Last one"}, b"1.0-rc2"))
    write("fuzz_backup_file", "cut_short.qrnbak", backup_file({3: b" Stage  "})[:400])

    write("fuzz_preset_file", "default.Fbk", default_block() + b"\x00")
    write("fuzz_preset_file", "varied.Fbk", varied_block() + b"\x00")
    write("fuzz_preset_file", "too_short.Fbk", default_block()[:100])
    write("fuzz_preset_file", "damaged.Fbk", default_block()[:28] + b"\x2D\x03\xFF" + default_block()[31:] + b"\x00")

    for name, args in [("simulate", b"\x00--simulate"), ("ports", b"\x00--ports\x00/dev/ttyS0:/dev/ttyUSB1"),
                       ("demo_preset", b"\x00--demo\x00live.Fbk"),
                       ("sim_memory", b"\x00--sim-memory=/tmp/m.bin\x00--simulate"),
                       ("environment", b"\x01--demo\x00/dev/ttyACM0"), ("help", b"\x00--help"),
                       ("unknown", b"\x00--bogus\x00a.Fbk\x00b.Fbk")]:
        write("fuzz_command_line", name, args)

    for name, message in [
            ("gain", b'{"type":"notch","channel":0,"row":11,"field":"gain","value":-12}'),
            ("frequency", b'{"type":"notch","channel":1,"row":0,"field":"frequency","value":729}'),
            ("setting", b'{"type":"setting","channel":1,"setting":"sensitivity","value":15}'),
            ("search", b'{"type":"search","selector":2,"on":true}'),
            ("link", b'{"type":"link","on":false}'),
            ("reset", b'{"type":"reset","channel":0,"rows":"automatic"}'),
            ("answer", b'{"type":"answer","id":3,"yes":true}'),
            ("unknown_field", b'{"type":"link","on":true,"extra":[1,{"a":null}]}'),
            ("fraction", b'{"type":"notch","channel":0,"row":1.5,"field":"width","value":1e308}')]:
        write("fuzz_remote_message", name, message)

    # fuzz_remote_request: the first byte cuts the rest into pieces of 1..64.
    token = b"0123456789abcdef0123456789abcdef"
    host = b"Host: 127.0.0.1:8480\r\n"
    upgrade = (b"Upgrade: websocket\r\nConnection: Upgrade\r\nSec-WebSocket-Version: 13\r\n"
               b"Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n")
    for name, cut, request in [
            ("page", 63, b"GET /?token=" + token + b" HTTP/1.1\r\n" + host + b"Accept: */*\r\n\r\n"),
            ("head_script", 4, b"HEAD /remote.js?token=" + token + b" HTTP/1.1\r\n" + host + b"\r\n"),
            ("socket", 17, b"GET /socket?token=" + token + b" HTTP/1.1\r\n" + host + upgrade +
             b"Origin: http://127.0.0.1:8480\r\n\r\n"),
            ("foreign_origin", 9, b"GET /socket?token=" + token + b" HTTP/1.1\r\n" + host + upgrade +
             b"Origin: http://evil.example\r\n\r\n"),
            ("post_body", 0, b"POST /?token=" + token + b" HTTP/1.1\r\n" + host + b"Content-Length: 5\r\n\r\nhello"),
            ("no_token", 1, b"GET /remote.css HTTP/1.1\r\n" + host + b"\r\n"),
            ("rebound_host", 30, b"GET /?token=" + token + b" HTTP/1.1\r\nHost: evil.example:8480\r\n\r\n"),
            ("long_header", 63, b"GET /?token=" + token + b" HTTP/1.1\r\n" + host + b"X-Pad: " + b"p" * 1100),
            ("frames", 2, bytes([0x8A, 0x00, 0x81, 0x7E, 0x00, 0x80]) + b"x" * 128 + bytes([0x89, 0x83]) + b"mask" + b"abc")]:
        write("fuzz_remote_request", name, bytes([cut]) + request)


if __name__ == "__main__":
    main()
