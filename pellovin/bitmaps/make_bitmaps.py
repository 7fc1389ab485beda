#!/usr/bin/env python3
"""Draws the calibration wizard's pictures and the program icon.

The module diagram is drawn once in page pixels (it sits at 10, 10 on the
wizard pages); every marker bitmap is a crop of it at the marker's position
with the highlight drawn on top, so markers always line up with the diagram.
Run from this folder: python3 make_bitmaps.py
"""
import struct

WHITE = (255, 255, 255)
BLACK = (0, 0, 0)
GREY = (170, 170, 170)
DARK = (60, 60, 60)
BOARD = (20, 110, 60)
GOLD = (220, 180, 40)
RED = (210, 20, 20)
YELLOW = (255, 230, 0)
LCD = (190, 210, 170)
STEEL = (150, 160, 175)
HANDLE = (230, 120, 20)

FONT = {
    '0': ["111", "101", "101", "101", "111"], '1': ["010", "110", "010", "010", "111"],
    '2': ["111", "001", "111", "100", "111"], '3': ["111", "001", "111", "001", "111"],
    '4': ["101", "101", "111", "001", "001"], '5': ["111", "100", "111", "001", "111"],
    '6': ["111", "100", "111", "101", "111"], '7': ["111", "001", "010", "010", "010"],
    '8': ["111", "101", "111", "101", "111"], '9': ["111", "101", "111", "001", "111"],
    '.': ["000", "000", "000", "000", "010"], ' ': ["000"] * 5,
    'V': ["101", "101", "101", "101", "010"], 'O': ["111", "101", "101", "101", "111"],
    'F': ["111", "100", "110", "100", "100"], 'S': ["111", "100", "111", "001", "111"],
    'E': ["111", "100", "110", "100", "111"], 'T': ["111", "010", "010", "010", "010"],
    'G': ["111", "100", "101", "101", "111"], 'A': ["010", "101", "111", "101", "101"],
    'I': ["111", "010", "010", "010", "111"], 'N': ["101", "111", "111", "111", "101"],
    'C': ["111", "100", "100", "100", "111"], 'M': ["101", "111", "111", "101", "101"],
}


class Canvas:
    def __init__(self, width, height, colour=WHITE):
        self.width, self.height = width, height
        self.pixels = [[colour] * width for _ in range(height)]

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour

    def fill(self, x0, y0, x1, y1, colour):
        for y in range(y0, y1):
            for x in range(x0, x1):
                self.put(x, y, colour)

    def frame(self, x0, y0, x1, y1, colour, width=1):
        self.fill(x0, y0, x1, y0 + width, colour)
        self.fill(x0, y1 - width, x1, y1, colour)
        self.fill(x0, y0, x0 + width, y1, colour)
        self.fill(x1 - width, y0, x1, y1, colour)

    def line(self, x0, y0, x1, y1, colour, width=2):
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(steps + 1):
            x = round(x0 + (x1 - x0) * i / steps)
            y = round(y0 + (y1 - y0) * i / steps)
            self.fill(x, y, x + width, y + width, colour)

    def text(self, x, y, string, colour):
        for ch in string:
            for row, bits in enumerate(FONT[ch]):
                for col, bit in enumerate(bits):
                    if bit == '1':
                        self.put(x + col, y + row, colour)
            x += 4

    def crop(self, x, y, width, height):
        part = Canvas(width, height)
        for j in range(height):
            for i in range(width):
                part.pixels[j][i] = self.pixels[y + j][x + i] if y + j < self.height else WHITE
        return part

    def bmp_rows(self):
        rows = []
        pad = (4 - (self.width * 3) % 4) % 4
        for y in range(self.height - 1, -1, -1):
            row = b''.join(bytes((b, g, r)) for (r, g, b) in self.pixels[y])
            rows.append(row + b'\0' * pad)
        return b''.join(rows)

    def save_bmp(self, name):
        data = self.bmp_rows()
        info = struct.pack('<IiiHHIIiiII', 40, self.width, self.height, 1, 24, 0, len(data),
                           2835, 2835, 0, 0)
        header = struct.pack('<2sIHHI', b'BM', 14 + len(info) + len(data), 0, 0, 14 + len(info))
        with open(name, 'wb') as out:
            out.write(header + info + data)

    def save_ico(self, name):
        data = self.bmp_rows()
        mask_row = ((self.width + 31) // 32) * 4
        mask = b'\0' * (mask_row * self.height)
        info = struct.pack('<IiiHHIIiiII', 40, self.width, self.height * 2, 1, 24, 0,
                           len(data) + len(mask), 0, 0, 0, 0)
        image = info + data + mask
        directory = struct.pack('<HHH', 0, 1, 1)
        entry = struct.pack('<BBBBHHII', self.width, self.height, 0, 0, 1, 24, len(image), 22)
        with open(name, 'wb') as out:
            out.write(directory + entry + image)


# Page positions of the markers (row = channel number mod 4).
OFFSET_POTS = [(38, 49), (38, 39), (38, 30), (38, 21)]
PINS = [(38, 90), (48, 90), (58, 90), (68, 90)]
GAIN_POTS = [(39, 73), (17, 74), (25, 60), (12, 49)]
LEADS = [(46, 94, 62, 135), (56, 94, 51, 135), (66, 94, 41, 135), (76, 94, 31, 136)]
METER_DISPLAY = (122, 165)
METER_TERMINAL = (107, 228)


def draw_module_page():
    page = Canvas(210, 256)
    page.fill(11, 14, 98, 102, BOARD)
    page.text(14, 16, "OFFSET", WHITE)
    for number, (x, y) in enumerate(OFFSET_POTS, 1):
        page.fill(x + 1, y + 1, x + 21, y + 9, GREY)
        page.fill(x + 9, y + 2, x + 13, y + 8, DARK)
        page.text(x + 24, y + 2, str(number), WHITE)
    page.text(62, 64, "GAIN", WHITE)
    for number, (x, y) in enumerate(GAIN_POTS, 1):
        page.fill(x + 1, y + 1, x + 10, y + 11, GREY)
        page.fill(x + 4, y + 2, x + 7, y + 10, DARK)
        # Right of the pot, outside its marker crop, so a highlight keeps it.
        page.text(x + 12, y + 3, str(number), WHITE)
    page.fill(34, 87, 92, 101, DARK)
    for x, y in PINS + [(80, 90)]:
        page.fill(x + 1, y + 1, x + 8, y + 8, GOLD)
    page.text(82, 104, "G", BLACK)
    # Volt meter with its black lead to the analog ground.
    page.fill(102, 150, 200, 246, (235, 200, 40))
    page.frame(102, 150, 200, 246, BLACK)
    page.fill(116, 158, 186, 182, LCD)
    page.frame(116, 158, 186, 182, BLACK)
    page.text(METER_DISPLAY[0], METER_DISPLAY[1], "0.00 V", BLACK)
    page.fill(104, 226, 112, 234, RED)
    page.text(106, 237, "V", BLACK)
    page.fill(130, 226, 138, 234, BLACK)
    page.text(128, 237, "COM", BLACK)
    page.line(84, 99, 133, 226, BLACK)
    return page


def highlight(crop):
    crop.frame(0, 0, crop.width, crop.height, RED)
    crop.frame(1, 1, crop.width - 1, crop.height - 1, YELLOW)
    return crop


def main():
    page = draw_module_page()
    page.crop(10, 10, 190, 236).save_bmp('cal_module.bmp')
    highlight(page.crop(38, 49, 22, 10)).save_bmp('cal_offset_pot.bmp')
    highlight(page.crop(38, 90, 9, 9)).save_bmp('cal_pin.bmp')
    for number, (x, y) in enumerate(GAIN_POTS, 1):
        highlight(page.crop(x, y, 11, 12)).save_bmp('cal_gain_pot%d.bmp' % number)
    for number, (x, y, w, h) in enumerate(LEADS, 1):
        lead = page.crop(x, y, w, h)
        lead.line(0, 1, METER_TERMINAL[0] - x - 1, METER_TERMINAL[1] - y - 1, RED)
        lead.save_bmp('cal_lead%d.bmp' % number)
    display = page.crop(METER_DISPLAY[0], METER_DISPLAY[1], 35, 7)
    display.fill(0, 0, 35, 7, LCD)
    display.text(0, 1, "10.00 V", BLACK)
    display.save_bmp('cal_meter_10v.bmp')

    intro = Canvas(63, 184)
    intro.fill(4, 4, 59, 100, (235, 200, 40))
    intro.frame(4, 4, 59, 100, BLACK)
    intro.fill(10, 12, 53, 30, LCD)
    intro.text(13, 18, "0.00 V", BLACK)
    intro.fill(14, 80, 20, 86, RED)
    intro.fill(42, 80, 48, 86, BLACK)
    intro.line(17, 86, 12, 110, RED)
    intro.line(45, 86, 50, 110, BLACK)
    intro.fill(26, 120, 38, 150, HANDLE)
    intro.frame(26, 120, 38, 150, BLACK)
    intro.fill(30, 150, 34, 176, STEEL)
    intro.fill(29, 176, 35, 180, STEEL)
    intro.save_bmp('cal_intro.bmp')

    icon = Canvas(32, 32, (30, 60, 140))
    icon.fill(3, 5, 29, 27, LCD)
    icon.frame(3, 5, 29, 27, BLACK)
    for x in range(4, 28):
        import math
        y = round(16 - 7 * math.sin((x - 4) / 24 * 2 * math.pi))
        icon.fill(x, y, x + 1, y + 2, RED)
    icon.save_ico('pellovin.ico')


if __name__ == '__main__':
    main()
