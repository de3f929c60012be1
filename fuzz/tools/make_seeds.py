#!/usr/bin/env python3
"""Writes the seed inputs of the DF1 and Modbus fuzz targets into fuzz/corpus/.

The seeds are well-formed exchanges (a matching read reply, a write reply,
an STS reply, an ACK before the reply, a foreign frame, a Modbus exception),
so that the fuzzers start from what the line really carries. Input layouts are
described at the top of fuzz/targets/df1_frame.cpp and modbus_reply.cpp.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
DLE, STX, ETX, ACK, NAK, ENQ = 0x10, 0x02, 0x03, 0x06, 0x15, 0x05


def crc_a001(data, crc):
    for b in data:
        crc ^= b
        for _ in range(8):
            crc = (crc >> 1) ^ 0xA001 if crc & 1 else crc >> 1
    return crc


def df1_frame(data, bcc):
    out = bytes([DLE, STX]) + bytes(data).replace(b"\x10", b"\x10\x10") + bytes([DLE, ETX])
    if bcc:
        return out + bytes([(-sum(data)) & 0xFF])
    crc = crc_a001(bytes(data) + bytes([ETX]), 0x0000)
    return out + struct.pack("<H", crc)


def df1_seed(bcc, frame_here, bytecount, tns, body):
    # byte 0: bit 0 BCC, bit 1 frame here, bits 2..7 (bytecount / 2 - 1)
    head = (1 if bcc else 0) | (2 if frame_here else 0) | ((bytecount // 2 - 1) << 2)
    return bytes([head]) + struct.pack("<H", tns) + bytes(body)


def df1_reply(cmd, sts, tns, payload=b""):
    # reply to station 5's master (source 0): DST=0 SRC=5
    return bytes([0, 5, cmd | 0x40, sts]) + struct.pack("<H", tns) + bytes(payload)


def modbus_seed(count, station, write, value_lo, frame):
    return bytes([count - 1, (0x80 if write else 0) | (station - 1), value_lo]) + bytes(frame)


def write(target, name, data):
    path = os.path.join(HERE, "..", "corpus", target)
    os.makedirs(path, exist_ok=True)
    with open(os.path.join(path, name), "wb") as f:
        f.write(data)


def main():
    assert df1_frame([0x07, 0x11, 0x41, 0x00, 0x53, 0xB9] + [0] * 12, False)[-2:] == b"\x6b\x4c"
    words = bytes(range(0x10, 0x10 + 38))  # holds a DLE, so stuffing is in the seed
    tns = 0x1234
    for bcc in (False, True):
        mode = "bcc" if bcc else "crc"
        read = df1_reply(0x01, 0, tns, words)
        write("df1_frame", f"{mode}_read_reply", df1_seed(
            bcc, False, 38, tns, bytes([DLE, ACK]) + df1_frame(read, bcc)))
        write("df1_frame", f"{mode}_read_reply_data", df1_seed(bcc, True, 38, tns, read))
        write("df1_frame", f"{mode}_write_reply", df1_seed(
            bcc, False, 2, tns, bytes([DLE, ACK]) + df1_frame(df1_reply(0x08, 0, tns), bcc)))
        write("df1_frame", f"{mode}_sts_reply", df1_seed(
            bcc, False, 38, tns, df1_frame(df1_reply(0x01, 0xF0, tns, b"\x07"), bcc)))
        write("df1_frame", f"{mode}_foreign_then_nak_enq", df1_seed(
            bcc, False, 8, tns, df1_frame(df1_reply(0x01, 0, tns + 1, words[:8]), bcc)
            + bytes([DLE, NAK, DLE, ENQ, 0x55, DLE, STX, 1, 2])))
    regs = bytes(range(0, 38))
    write("modbus_reply", "read_19", modbus_seed(19, 5, False, 0, [5, 3, 38] + list(regs)))
    write("modbus_reply", "read_exception", modbus_seed(19, 5, False, 0, [5, 0x83, 2]))
    write("modbus_reply", "write_echo", modbus_seed(1, 5, True, 0x01, [5, 6, 0, 24, 0, 1]))
    write("modbus_reply", "wrong_station", modbus_seed(4, 5, False, 0, [6, 3, 8] + [0] * 8))


if __name__ == "__main__":
    main()
