#!/usr/bin/env python3
"""Writes the seed corpus of the library's fuzz targets: answers of every shape the devices send, and
the edge lengths around them. Run from anywhere; it writes next to itself. Long fuzz runs
(scripts/fuzz.sh) add the inputs they find to the same folders."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
TAG, MASK = 0x57, 0xF3
CHANNELS = {0x31: 1, 0x32: 2, 0x33: 3, 0x34: 4, 0x38: 8, 0x91: 1, 0x92: 3, 0x93: 2, 0x94: 3}


def crc16(data):
    crc = 0
    for b in data:
        crc ^= b << 8
        for _ in range(8):
            crc = ((crc << 1) ^ 0x1021) if crc & 0x8000 else crc << 1
            crc &= 0xFFFF
    return crc


def sealed(body):
    return bytes(body) + struct.pack('<H', crc16(body))


def put(buf, at, data):
    buf[at:at + len(data)] = data


def ip(text):
    return bytes(int(x) for x in text.split('.'))


def parameter_frame(model, tag, command):
    """A device's parameter frame (search or read answer) with plausible settings, scrambled."""
    multi = model >> 4 in (3, 9)
    size = 94 + 54 * CHANNELS.get(model, 0) if multi else 158
    f = bytearray(size - 2)
    f[0], f[7], f[8], f[9] = 0xFF, tag, command, model
    put(f, 12, bytes([0, 26, 43, 60, 77, 94]))
    put(f, 20, b'Device-01')
    if multi:
        put(f, 30, b'admin')
        put(f, 52, b'V3.0.1')
        for at, text in ((68, '192.168.1.20'), (72, '255.255.255.0'), (76, '192.168.1.1'),
                         (84, '8.8.8.8'), (88, '8.8.4.4')):
            put(f, at, ip(text))
        for i in range(CHANNELS.get(model, 0)):
            c = 92 + 54 * i
            put(f, c, struct.pack('>H', 4001 + i))
            put(f, c + 2, ip('10.0.0.%d' % (i + 1)))
            put(f, c + 12, b'example.com')
            put(f, c + 44, struct.pack('<H', 96))
    else:
        put(f, 36, b'V2.1.0')
        for at, text in ((52, '192.168.1.10'), (56, '255.255.255.0'), (60, '192.168.1.1'),
                         (68, '10.0.0.9'), (80, '8.8.8.8'), (84, '8.8.4.4')):
            put(f, at, ip(text))
        put(f, 64, struct.pack('>H', 4001))
        put(f, 88, b'http://example.com')
        put(f, 124, struct.pack('<H', 1024))
        put(f, 128, struct.pack('<H', 96))
        f[132] = 8
        put(f, 136, b'admin')
    for i in range(12, len(f)):
        f[i] ^= MASK
    return sealed(f)


def cut(frame, length):
    """The first length-2 bytes of a frame with a fresh checksum (shorter frames: just the bytes)."""
    return bytes(frame[:length]) if length < 3 else sealed(frame[:length - 2])


def extended_frame(payload_size, command):
    f = bytearray(42)
    f[0], f[7], f[8], f[9] = 0xFF, TAG, command, 0x83
    put(f, 12, bytes(b ^ MASK for b in (0, 26, 43, 60, 77, 95)))
    payload = bytearray(payload_size)
    if payload_size >= 84:
        payload[0] = 0x83
        put(payload, 4, b'T1.0')
        put(payload, 36, b'Clock')
        put(payload, 52, bytes([0, 26, 43, 60, 77, 95]))
        put(payload, 60, ip('192.168.1.30'))
    return sealed(f + payload)


def write(target, name, data):
    folder = os.path.join(HERE, target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), 'wb') as out:
        out.write(data)


def text_search_answers():
    full = (b'A0.26.43.60.77.94/4001/x/y/z/Pump\x00?192.168.1.5/255.255.255.0/192.168.1.1/8.8.8.8/'
            b'8.8.4.4/10.0.0.9/VKB220/V2.1')
    seeds = {
        'full': full,
        'part_one_only': full[:full.index(b'\x00')],
        'second_generation': b'VB',
        'empty': b'',
        'status_only': b'A',
        'refusal': b'N0.26.43.60.77.94/4001/x/y/z/Pump',
        'long_fields': b'A' + b'9' * 40 + b'/' + b'7' * 30 + b'/a/b/c/' + b'N' * 40 + b'\x00?' + b'/'.join(
            bytes([65 + i]) * 30 for i in range(8)),
        'nul_at_end': full[:full.index(b'\x00') + 1],
        'port_overflow': b'A1.2.3.4.5.6/99999999/x/y/z/N\x00?1.1.1.1',
    }
    for name, data in seeds.items():
        write('text_search_answer', name, data)


def binary_answers(target, tag, command):
    for model in (0x10, 0x20, 0x31, 0x34, 0x38, 0x93, 0x3F, 0x83, 0x00):
        frame = parameter_frame(model, tag, command)
        write(target, 'model_%02x' % model, frame)
    single = parameter_frame(0x10, tag, command)
    for length in (0, 1, 3, 9, 10, 12, 13, 14, 42, 157, 159):
        write(target, 'single_cut_%d' % length, cut(single, length) if length <= 158 else single + b'\x00')
    multi = parameter_frame(0x34, tag, command)
    for length in (93, 148, 309):
        write(target, 'multi_cut_%d' % length, cut(multi, length))


def answer_checks():
    login = bytearray(40)
    login[7], login[8] = TAG, 17
    write('answer_checks', 'login_accepted', sealed(login))
    write('answer_checks', 'short_frame_41', cut(sealed(login), 41))
    for size in (0, 2, 3):
        write('answer_checks', 'bytes_%d' % size, bytes(size))
    for payload in (0, 1, 360, 436):
        write('answer_checks', 'extended_%d' % payload, extended_frame(payload, 2))


def param_records():
    def record(model, single):
        r = bytearray(700)
        r[0] = model
        texts = ((70, '192.168.1.10'), (88, '10.0.0.9'), (106, '255.255.255.0'), (122, '192.168.1.1'),
                 (138, '8.8.8.8'), (154, '8.8.4.4')) if single else \
            ((72, '192.168.1.20'), (88, '255.255.255.0'), (104, '192.168.1.1'), (124, '8.8.8.8'))
        for at, text in texts:
            put(r, at, text.encode())
        put(r, 21, b'Device-01')
        if single:
            put(r, 296, struct.pack('<I', 115200))
        else:
            for i in range(CHANNELS.get(model, 0)):
                put(r, 156 + 68 * i + 4, ('10.0.0.%d' % (i + 1)).encode())
                put(r, 156 + 68 * i + 56, struct.pack('<I', 9600))
        return bytes(r)
    write('param_record', 'single_port', record(0x10, True))
    write('param_record', 'single_port_304', record(0x10, True)[:304])
    for model in (0x31, 0x34, 0x38, 0x94):
        write('param_record', 'multi_port_%02x' % model, record(model, False))
    write('param_record', 'bad_address', b'\x10' + bytes(69) + b'999.1.1.1')
    write('param_record', 'no_layout', b'\x83' + bytes(10))


def address_texts():
    for i, text in enumerate(['0.26.43.60.77.94', '255.0.1.2.3.4', '256.1', '1.2.3', '', '1.2.3.4',
                              '255.255.255.255', '999.1.1.1', '01.002.3.4', '1.2.3.4.', '1..2.3',
                              '12345678901234567890.1', '0.0.0.0/24']):
        write('address_text', 'text_%02d' % i, text.encode())


def text_answers():
    answers = ['A0.26.43.60.77.94|21', 'A192.168.1.5|22', 'A4001|23', 'A1|24', 'A10.0.0.9|25', 'A8000|26',
               'A192.168.1.1|27', 'A255.255.255.0|28', 'A7|29', 'A2|2A', 'A0|2B', 'A1024|2C', 'A250|2D',
               'A1|2E', 'APump|2F', 'A0|30', 'A1|31', 'A30|32', 'A1.2', 'A1|34', 'A0|35', 'A8.8.4.4|36',
               'A1|37', 'A' + 'u' * 39 + '|38', 'Aadmin|39', 'Asecret|3A', 'A|3B', 'A1|3C', 'AVKB220|3D',
               'N|22', 'A|', '|']
    for i, answer in enumerate(answers):
        write('text_answers', 'answer_%02d' % i, bytes([i % 30]) + answer.encode())
    write('text_answers', 'version_after_keep_alive', bytes([19]) + b'A12|32')


if __name__ == '__main__':
    text_search_answers()
    binary_answers('binary_search_answer', 0, 2)
    binary_answers('read_answer', TAG, 11)
    answer_checks()
    param_records()
    address_texts()
    text_answers()
