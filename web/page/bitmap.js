// The program's pictures: the BMP files of resources/pictures, held in the
// page as <script type="application/json" id="pictures"> (name → base64),
// decoded here and drawn with their key colour transparent, as the desktop's
// transparent bitmap control and picture buttons draw them.

let store = null;
const decoded = new Map();

function bytesOf(name) {
    if (!store) store = JSON.parse(document.getElementById('pictures').textContent);
    const data = store[name];
    if (data === undefined) throw new Error(`Obrázek ${name} v programu chybí`);
    const text = atob(data);
    const bytes = new Uint8Array(text.length);
    for (let i = 0; i < text.length; i++) bytes[i] = text.charCodeAt(i);
    return bytes;
}

// An uncompressed BMP (1, 4 or 8 bits with a colour table, or 24 or 32
// bits) as RGBA rows from the top.
function decode(bytes) {
    const view = new DataView(bytes.buffer, bytes.byteOffset, bytes.byteLength);
    if (view.getUint16(0, true) !== 0x4d42) throw new Error('Obrázek není ve formátu BMP');
    const offset = view.getUint32(10, true);
    const header = view.getUint32(14, true);
    const width = view.getInt32(18, true);
    const stored = view.getInt32(22, true);
    const bits = view.getUint16(28, true);
    if (view.getUint32(30, true) !== 0) throw new Error('Komprimovaný obrázek BMP program nečte');
    const height = stored < 0 ? -stored : stored;
    const colours = bits <= 8 ? view.getUint32(46, true) || 1 << bits : 0;
    const table = 14 + header;
    const stride = (((width * bits + 31) >>> 5) << 2);
    const rgba = new Uint8ClampedArray(width * height * 4);
    const mask = (1 << bits) - 1;
    for (let y = 0; y < height; y++) {
        const row = offset + (stored < 0 ? y : height - 1 - y) * stride;
        for (let x = 0, to = 4 * y * width; x < width; x++, to += 4) {
            let at;
            if (bits <= 8) {
                const bit = x * bits;
                const index = (bytes[row + (bit >>> 3)] >>> (8 - bits - (bit & 7))) & mask;
                at = table + 4 * (index < colours ? index : 0);
            } else {
                at = row + x * (bits >>> 3);
            }
            rgba[to] = bytes[at + 2];
            rgba[to + 1] = bytes[at + 1];
            rgba[to + 2] = bytes[at];
            rgba[to + 3] = 255;
        }
    }
    return { width, height, rgba };
}

function picture(name) {
    if (!decoded.has(name)) decoded.set(name, decode(bytesOf(name)));
    return decoded.get(name);
}

// The key colour: a colour value as the layouts give it (red in the lowest
// byte; negative: none), or else the picture's bottom-left pixel.
function keyOf(image, colour) {
    if (colour !== undefined) return colour < 0 ? null : [colour & 255, (colour >>> 8) & 255, (colour >>> 16) & 255];
    const at = 4 * (image.height - 1) * image.width;
    return [image.rgba[at], image.rgba[at + 1], image.rgba[at + 2]];
}

// Part of a picture on a canvas of its own, every pixel of the key colour
// left transparent, so that the canvas shows what lies under it there.
function draw(image, key, left = 0, width = image.width) {
    const canvas = document.createElement('canvas');
    paint(canvas, image, key, left, width);
    return canvas;
}

function paint(canvas, image, key, left = 0, width = image.width) {
    canvas.width = width;
    canvas.height = image.height;
    const out = new ImageData(width, image.height);
    const from = image.rgba;
    const to = out.data;
    for (let y = 0; y < image.height; y++) {
        for (let x = 0, i = 4 * (y * image.width + left), o = 4 * y * width; x < width; x++, i += 4, o += 4) {
            to[o] = from[i];
            to[o + 1] = from[i + 1];
            to[o + 2] = from[i + 2];
            to[o + 3] = key && from[i] === key[0] && from[i + 1] === key[1] && from[i + 2] === key[2] ? 0 : 255;
        }
    }
    canvas.getContext('2d').putImageData(out, 0, 0);
}

// A picture by its name ('sketch'), its bottom-left pixel's colour
// transparent.
export async function loadPicture(name) {
    const image = picture(name);
    return draw(image, keyOf(image));
}

// A transparent bitmap control of the layouts: a canvas naming its picture
// and key colour (data-picture, data-key), drawn at the picture's size.
export function paintBitmap(canvas) {
    const image = picture(canvas.dataset.picture);
    paint(canvas, image, keyOf(image, Number(canvas.dataset.key)));
    canvas.style.width = `${image.width}px`;
    canvas.style.height = `${image.height}px`;
}

// A button's picture: square images side by side, the normal one and the
// one for the disabled button, the bottom-left pixel's colour transparent.
export function glyphImages(name) {
    const image = picture(name);
    const side = image.height;
    const count = Math.max(1, Math.floor(image.width / side));
    const key = keyOf(image);
    return [draw(image, key, 0, side), draw(image, key, count > 1 ? side : 0, side)];
}
