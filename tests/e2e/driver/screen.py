"""Screenshots as pixels, and the colours the keyboard's window is judged by."""


class Screenshot:
    def __init__(self, width, height, rgb):
        self.width = width
        self.height = height
        self._rgb = rgb

    @classmethod
    def from_ppm(cls, data):
        """Parses a binary PPM (P6) with a maximum value of 255."""
        fields = []
        pos = 0
        while len(fields) < 4:
            while data[pos:pos + 1].isspace():
                pos += 1
            if data[pos:pos + 1] == b"#":
                pos = data.index(b"\n", pos) + 1
                continue
            end = pos
            while not data[end:end + 1].isspace():
                end += 1
            fields.append(data[pos:end])
            pos = end
        magic, width, height, maximum = fields[0], int(fields[1]), int(fields[2]), int(fields[3])
        if magic != b"P6" or maximum != 255:
            raise ValueError(f"not an 8-bit binary PPM: {magic!r} max {maximum}")
        pixels = data[pos + 1:pos + 1 + width * height * 3]
        if len(pixels) != width * height * 3:
            raise ValueError("truncated PPM")
        return cls(width, height, pixels)

    def pixel(self, x, y):
        if not (0 <= x < self.width and 0 <= y < self.height):
            return (0, 0, 0)
        i = (y * self.width + x) * 3
        return tuple(self._rgb[i:i + 3])

    def count(self, rect, predicate, origin=(0, 0)):
        """How many pixels of rect, moved by origin, satisfy predicate(rgb)."""
        left, top = origin[0] + rect.left, origin[1] + rect.top
        return sum(1 for y in range(top, top + rect.height) for x in range(left, left + rect.width)
                   if predicate(self.pixel(x, y)))


def is_outline(rgb):
    """The light blue-grey of the key outlines (about 185-212, 200-224, 220-242)."""
    r, g, b = rgb
    return r >= 140 and g >= 150 and b >= 170 and b >= r


def brightness(rgb):
    return sum(rgb)


def is_red(rgb):
    """Caption pixels in FONTCOLOR 255 (pure red), anti-aliased edges included."""
    r, g, b = rgb
    return r >= 128 and g <= r // 3 and b <= r // 3
