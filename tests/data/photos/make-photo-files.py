#!/usr/bin/python3
"""Makes the photo-format test files of this folder (run it here with Debian's
python3-pil, webp, libtiff-tools and libheif-examples; the files are
committed, so the tests never need it). Every picture is synthetic. Each
`*.ref.png` is what the reference tool (Pillow, dwebp, heif-convert, Pillow's
lcms binding) shows for the file beside it; expected.txt pairs them."""

import ctypes
import io
import os
import struct
import subprocess

from PIL import Image, ImageCms, ImageOps

W, H = 48, 32


def chart():
    """Saturated 8 x 8 patches (primaries, secondaries, greys) over a ramp:
    every corner differs, so each turn and mirror shows."""
    im = Image.new("RGB", (W, H))
    px = im.load()
    patches = [(255, 0, 0), (0, 255, 0), (0, 0, 255), (0, 255, 255), (255, 0, 255), (255, 255, 0),
               (255, 255, 255), (0, 0, 0), (128, 128, 128), (200, 30, 60), (20, 180, 90), (60, 40, 220)]
    for y in range(H):
        for x in range(W):
            if y < 16:
                px[x, y] = patches[(y // 8) * 6 + x // 8]
            else:
                px[x, y] = (x * 5, (y - 16) * 15, 255 - x * 5)
    return im


# --- EXIF blocks, written byte by byte (little-endian TIFF structure) ---

def ifd(entries, next_offset, base):
    """entries: (tag, type, count, bytes). Values over 4 bytes go after the
    directory; `base` is the directory's offset in the block."""
    out = struct.pack("<H", len(entries))
    data = b""
    data_at = base + 2 + 12 * len(entries) + 4
    for tag, kind, count, value in entries:
        if len(value) <= 4:
            out += struct.pack("<HHI", tag, kind, count) + value.ljust(4, b"\0")
        else:
            out += struct.pack("<HHII", tag, kind, count, data_at + len(data))
            data += value + (b"\0" if len(value) % 2 else b"")
    return out + struct.pack("<I", next_offset) + data


def short(v):
    return struct.pack("<H", v)


def long(v):
    return struct.pack("<I", v)


def rationals(*pairs):
    return b"".join(struct.pack("<II", a, b) for a, b in pairs)


def exif_block(orientation, camera=False, thumbnail=b""):
    """Orientation alone, or a camera's block: make, model, date, GPS, pixel
    dimensions and (optionally) a thumbnail in IFD1."""
    if not camera:
        return b"II*\0" + long(8) + ifd([(0x0112, 3, 1, short(orientation))], 0, 8)
    exif_at, gps_at, ifd1_at = 200, 300, 420
    ifd0 = ifd([(0x010F, 2, 10, b"Cam Maker\0"), (0x0110, 2, 8, b"Model X\0"), (0x0112, 3, 1, short(orientation)),
                (0x8769, 4, 1, long(exif_at)), (0x8825, 4, 1, long(gps_at))], ifd1_at if thumbnail else 0, 8)
    exif = ifd([(0x9003, 2, 20, b"2024:05:06 07:08:09\0"), (0xA002, 4, 1, long(W)), (0xA003, 4, 1, long(H))],
               0, exif_at)
    gps = ifd([(0x0001, 2, 2, b"N\0"), (0x0002, 5, 3, rationals((55, 1), (45, 1), (2106, 100))),
               (0x0003, 2, 2, b"E\0"), (0x0004, 5, 3, rationals((37, 1), (37, 1), (1716, 100)))], 0, gps_at)
    thumb_at = 480
    ifd1 = ifd([(0x0201, 4, 1, long(thumb_at)), (0x0202, 4, 1, long(len(thumbnail)))], 0, ifd1_at) if thumbnail else b""
    block = bytearray(b"II*\0" + long(8) + ifd0)
    for at, part in ((exif_at, exif), (gps_at, gps), (ifd1_at, ifd1), (thumb_at, thumbnail)):
        assert len(block) <= at
        block += b"\0" * (at - len(block)) + part
    return bytes(block)


# --- ICC profiles through lcms2 itself ---

lcms = ctypes.CDLL("liblcms2.so.2")
lcms.cmsBuildGamma.restype = ctypes.c_void_p
lcms.cmsBuildParametricToneCurve.restype = ctypes.c_void_p
lcms.cmsBuildTabulatedToneCurve16.restype = ctypes.c_void_p
lcms.cmsCreateRGBProfile.restype = ctypes.c_void_p


class xyY(ctypes.Structure):
    _fields_ = [("x", ctypes.c_double), ("y", ctypes.c_double), ("Y", ctypes.c_double)]


def rgb_profile(primaries, curve, description, padding=0):
    """A matrix-and-curve profile; `padding` bytes of a private tag make it
    big enough to need several JPEG APP2 segments."""
    white = xyY(0.3127, 0.3290, 1.0)
    triple = (xyY * 3)(*(xyY(x, y, 1.0) for x, y in primaries))
    curves = (ctypes.c_void_p * 3)(curve, curve, curve)
    profile = ctypes.c_void_p(lcms.cmsCreateRGBProfile(ctypes.byref(white), triple, curves))
    lcms.cmsMLUalloc.restype = ctypes.c_void_p
    mlu = ctypes.c_void_p(lcms.cmsMLUalloc(None, 1))
    lcms.cmsMLUsetASCII(mlu, b"en", b"US", description.encode())
    lcms.cmsWriteTag(profile, 0x64657363, mlu)  # 'desc'
    if padding:
        lcms.cmsWriteRawTag(profile, 0x6B72747A, bytes(padding), padding)  # 'krtz'
    size = ctypes.c_uint32(0)
    lcms.cmsSaveProfileToMem(profile, None, ctypes.byref(size))
    buffer = ctypes.create_string_buffer(size.value)
    lcms.cmsSaveProfileToMem(profile, buffer, ctypes.byref(size))
    return buffer.raw[:size.value]


adobe_rgb = rgb_profile([(0.64, 0.33), (0.21, 0.71), (0.15, 0.06)],
                        ctypes.c_void_p(lcms.cmsBuildGamma(None, ctypes.c_double(563 / 256))), "Test Adobe RGB")
srgb_params = (ctypes.c_double * 5)(2.4, 1 / 1.055, 0.055 / 1.055, 1 / 12.92, 0.04045)
p3_curve = ctypes.c_void_p(lcms.cmsBuildParametricToneCurve(None, 4, srgb_params))
p3_primaries = [(0.680, 0.320), (0.265, 0.690), (0.150, 0.060)]
display_p3 = rgb_profile(p3_primaries, p3_curve, "Test Display P3")
display_p3_big = rgb_profile(p3_primaries, p3_curve, "Test Display P3", padding=150000)
assert len(display_p3_big) > 2 * 65519  # three JPEG segments at least


def to_srgb(im, profile):
    transform = ImageCms.buildTransform(ImageCms.ImageCmsProfile(io.BytesIO(profile)), ImageCms.createProfile("sRGB"),
                                        "RGB", "RGB", renderingIntent=ImageCms.Intent.RELATIVE_COLORIMETRIC,
                                        flags=ImageCms.FLAGS["BLACKPOINTCOMPENSATION"])
    return ImageCms.applyTransform(im, transform)


def run(*args):
    subprocess.run(args, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def heif_reference(name):
    """heif-convert's picture over white, without the EXIF it copies into the
    PNG (whose orientation the HEIF container has already dealt with)."""
    run("heif-convert", name, name + ".ref.png")
    picture = Image.open(name + ".ref.png").convert("RGBA")
    white = Image.new("RGBA", picture.size, (255, 255, 255, 255))
    Image.alpha_composite(white, picture).convert("RGB").save(name + ".ref.png")


base = chart()
base.save("chart.png")

# Orientation 1 ... 8 in PNG eXIf; the reference is Pillow's exif_transpose.
for n in range(1, 9):
    base.save(f"orient-{n}.png", exif=exif_block(n))
    ImageOps.exif_transpose(Image.open(f"orient-{n}.png")).convert("RGB").save(f"orient-{n}.ref.png")
# The same orientation read from the other containers.
base.save("orient-6.jpg", exif=b"Exif\0\0" + exif_block(6), quality=100, subsampling=0)
ImageOps.exif_transpose(Image.open("orient-6.jpg")).convert("RGB").save("orient-6.jpg.ref.png")
base.save("orient-6.webp", exif=exif_block(6), lossless=True)
base.save("orient-6.tif", tiffinfo={0x0112: 6})

# A camera's block with a thumbnail; the picture turned by orientation 6.
thumbnail = io.BytesIO()
base.resize((12, 8)).save(thumbnail, "JPEG")
base.save("camera.jpg", exif=b"Exif\0\0" + exif_block(6, camera=True, thumbnail=thumbnail.getvalue()), quality=100,
          subsampling=0)

# Embedded profiles: the chart's numbers as Adobe RGB or Display P3 pixels.
base.save("adobergb.png", icc_profile=adobe_rgb)
to_srgb(base, adobe_rgb).save("adobergb.ref.png")
base.save("p3.jpg", icc_profile=display_p3_big, quality=100, subsampling=0)
to_srgb(Image.open("p3.jpg").convert("RGB"), display_p3).save("p3.jpg.ref.png")
base.save("p3.webp", icc_profile=display_p3, lossless=True)
to_srgb(base, display_p3).save("p3.ref.png")
base.save("adobergb.tif", icc_profile=adobe_rgb)
# Every colour of a 16-step grid (4096) under each profile: the conversion
# within a level of lcms's everywhere, the gamut's edges included.
grid = Image.new("RGB", (64, 64))
grid.putdata([(17 * (i % 16), 17 * (i // 16 % 16), 17 * (i // 256)) for i in range(4096)])
for profile, name in ((adobe_rgb, "grid-adobergb.png"), (display_p3, "grid-p3.png")):
    grid.save(name, icc_profile=profile)
    to_srgb(grid, profile).save(name.replace(".png", ".ref.png"))
with open("broken-profile.png", "wb") as f:
    out = io.BytesIO()
    base.save(out, "PNG", icc_profile=b"not a profile at all" * 8)
    f.write(out.getvalue())

# CMYK without a profile: Adobe's inverted JPEG and a plain CMYK TIFF; the
# reference is (255 - c)(255 - k) / 255 per channel of the samples Pillow reads.


def cmyk_reference(name):
    samples = Image.open(name)
    reference = Image.new("RGB", (W, H))
    for y in range(H):
        for x in range(W):
            c, m, yellow, k = samples.getpixel((x, y))
            reference.putpixel((x, y), tuple(round((255 - v) * (255 - k) / 255) for v in (c, m, yellow)))
    reference.save(name + ".ref.png")


def with_black(pixel):
    """Half the grey component as black ink, the rest as colour inks."""
    c, m, y = (255 - v for v in pixel)
    k = min(c, m, y) // 2
    return (c - k, m - k, y - k, k)


cmyk = Image.new("CMYK", (W, H))
cmyk.putdata([with_black(p) for p in base.getdata()])
cmyk.save("cmyk.jpg", quality=100)
cmyk_reference("cmyk.jpg")
cmyk.save("cmyk.tif")
cmyk_reference("cmyk.tif")

# Alpha over white.
rgba = base.convert("RGBA")
rgba.putalpha(Image.linear_gradient("L").resize((W, H)).rotate(90))
rgba.save("alpha.png")
white = Image.new("RGBA", (W, H), (255, 255, 255, 255))
Image.alpha_composite(white, rgba).convert("RGB").save("alpha.ref.png")
rgba.save("alpha.webp", lossless=True, exact=True)
rgba.save("alpha.tif")

# WebP: lossy (reference: dwebp), lossless, and an animation's first frame.
run("cwebp", "-q", "80", "chart.png", "-o", "lossy.webp")
run("dwebp", "lossy.webp", "-o", "lossy.ref.png")
run("cwebp", "-lossless", "chart.png", "-o", "lossless.webp")
frames = [base, ImageOps.invert(base)]
frames[0].save("animated.webp", save_all=True, append_images=frames[1:], lossless=True, duration=100)

# TIFF: 1-bit, grey, palette, 16-bit RGB; strips and tiles; LZW, Deflate, JPEG.
base.convert("1", dither=Image.Dither.NONE).save("bilevel.tif")
base.convert("1", dither=Image.Dither.NONE).convert("RGB").save("bilevel.ref.png")
base.convert("L").save("grey.tif")
base.convert("L").convert("RGB").save("grey.ref.png")
base.convert("P", palette=Image.Palette.ADAPTIVE, colors=16).save("palette.tif")
Image.open("palette.tif").convert("RGB").save("palette.ref.png")
base.save("chart.tif")
run("tiffcp", "-c", "lzw", "chart.tif", "lzw.tif")
run("tiffcp", "-c", "zip", "-t", "-w", "16", "-l", "16", "orient-6.tif", "deflate-tiles.tif")
run("tiffcp", "-c", "jpeg:95", "-r", "16", "chart.tif", "jpeg.tif")
Image.open("jpeg.tif").convert("RGB").save("jpeg.tif.ref.png")


def rgb16_tiff(name):
    """16-bit RGB, uncompressed: each sample v * 257 + (x % 7) - 3, so that
    the low byte matters; the reference scales each sample to 8 bits."""
    values = [[[min(max(v * 257 + x % 7 - 3, 0), 65535) for v in base.getpixel((x, y))] for x in range(W)]
              for y in range(H)]
    samples = b"".join(struct.pack("<3H", *values[y][x]) for y in range(H) for x in range(W))
    reference = Image.new("RGB", (W, H))
    for y in range(H):
        for x in range(W):
            reference.putpixel((x, y), tuple(round(v * 255 / 65535) for v in values[y][x]))
    reference.save(name + ".ref.png")
    entries = [(256, 3, 1, short(W)), (257, 3, 1, short(H)), (258, 3, 3, short(16) * 3), (259, 3, 1, short(1)),
               (262, 3, 1, short(2)), (273, 4, 1, long(0)), (277, 3, 1, short(3)), (278, 3, 1, short(H)),
               (279, 4, 1, long(len(samples))), (284, 3, 1, short(1))]
    directory = ifd(entries, 0, 8)
    entries[5] = (273, 4, 1, long(8 + len(directory)))
    directory = ifd(entries, 0, 8)
    with open(name, "wb") as f:
        f.write(b"II*\0" + long(8) + directory + samples)


rgb16_tiff("rgb16.tif")

def heif_with_transforms(source, name, transforms):
    """The HEIF file `source` with transformative properties (each a box such
    as irot or imir) added to its primary image, in order: the properties go
    at the end of ipco, the associations at the end of the primary's ipma
    entry, and the file offsets of iloc move past the added bytes."""
    with open(source, "rb") as f:
        data = bytearray(f.read())

    def find(kind, start, end):
        i = start
        while i < end:
            size, typ = struct.unpack(">I4s", data[i:i + 8])
            if typ == kind:
                return i, size
            i += size
        raise ValueError(kind)

    meta, meta_size = find(b"meta", 0, len(data))
    iprp, iprp_size = find(b"iprp", meta + 12, meta + meta_size)
    ipco, ipco_size = find(b"ipco", iprp + 8, iprp + iprp_size)
    ipma, ipma_size = find(b"ipma", iprp + 8, iprp + iprp_size)
    pitm, _ = find(b"pitm", meta + 12, meta + meta_size)
    primary = struct.unpack(">H", data[pitm + 12:pitm + 14])[0]
    properties, i = 0, ipco + 8
    while i < ipco + ipco_size:
        properties += 1
        i += struct.unpack(">I", data[i:i + 4])[0]
    added = b"".join(transforms)
    # The primary's entry in ipma (version 0, one-byte associations).
    assert data[ipma + 8] == 0 and data[ipma + 11] & 1 == 0
    entries, at = struct.unpack(">I", data[ipma + 12:ipma + 16])[0], ipma + 16
    for _ in range(entries):
        item, count = struct.unpack(">HB", data[at:at + 3])
        if item == primary:
            break
        at += 3 + count
    data[at + 2] = count + len(transforms)
    end_of_entry = at + 3 + count
    data[end_of_entry:end_of_entry] = bytes(0x80 | (properties + 1 + k) for k in range(len(transforms)))
    data[ipco + ipco_size:ipco + ipco_size] = added
    grow = len(added) + len(transforms)
    for box, size in ((meta, meta_size), (iprp, iprp_size), (ipco, ipco_size), (ipma, ipma_size)):
        extra = grow if box != ipco and box != ipma else (len(added) if box == ipco else len(transforms))
        if box == ipma:
            box += len(added)  # it follows ipco
        struct.pack_into(">I", data, box, size + extra)
    # iloc (before iprp here): file offsets of items stored after the meta box.
    iloc, _ = find(b"iloc", meta + 12, meta + meta_size)
    version = data[iloc + 8]
    offset_size, length_size = data[iloc + 12] >> 4, data[iloc + 12] & 15
    base_size, index_size = data[iloc + 13] >> 4, (data[iloc + 13] & 15 if version else 0)
    assert version < 2 and base_size in (0, 4) and offset_size in (0, 4)
    count, at = struct.unpack(">H", data[iloc + 14:iloc + 16])[0], iloc + 16
    for _ in range(count):
        at += 2
        method = struct.unpack(">H", data[at:at + 2])[0] & 15 if version else 0
        at += 2 if version else 0
        at += 2
        base_at = at
        at += base_size
        extents = struct.unpack(">H", data[at:at + 2])[0]
        at += 2
        for _ in range(extents):
            at += index_size
            if method == 0:
                if base_size:
                    pass
                elif offset_size:
                    struct.pack_into(">I", data, at, struct.unpack(">I", data[at:at + 4])[0] + grow)
            at += offset_size + length_size
        if method == 0 and base_size:
            struct.pack_into(">I", data, base_at, struct.unpack(">I", data[base_at:base_at + 4])[0] + grow)
    with open(name, "wb") as f:
        f.write(data)


def property_box(kind, value):
    return struct.pack(">I4sB", 9, kind, value)


# HEIC and AVIF (references: heif-convert); a HEIC whose EXIF says 6 but
# whose container does not turn it: the container wins.
run("heif-enc", "-q", "90", "chart.png", "-o", "chart.heic")
heif_reference("chart.heic")
run("heif-enc", "-A", "-q", "90", "chart.png", "-o", "chart.avif")
heif_reference("chart.avif")
run("heif-enc", "-q", "90", "orient-6.jpg", "-o", "exif-6.heic")
heif_reference("exif-6.heic")
# Turned a quarter anticlockwise, then mirrored top-bottom, by the container.
heif_with_transforms("chart.heic", "turned.heic", [property_box(b"irot", 1), property_box(b"imir", 0)])
heif_reference("turned.heic")
run("heif-enc", "-q", "90", "alpha.png", "-o", "alpha.heic")
heif_reference("alpha.heic")
# Display P3 told by video numbers (nclx: primaries 12, sRGB curve), nearly
# lossless. heif-enc 1.15 writes its own numbers whatever it is told, so the
# colr box is patched.
run("heif-enc", "-A", "-L", "-p", "chroma=444", "chart.png", "-o", "p3.avif")
with open("p3.avif", "rb") as f:
    avif = bytearray(f.read())
colr = avif.index(b"colrnclx") + 8
struct.pack_into(">HH", avif, colr, 12, 13)
with open("p3.avif", "wb") as f:
    f.write(avif)
run("heif-convert", "p3.avif", "p3.avif.decoded.png")
to_srgb(Image.open("p3.avif.decoded.png").convert("RGB"), display_p3).save("p3.avif.ref.png")
os.remove("p3.avif.decoded.png")
