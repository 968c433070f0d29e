// The least a processing run in lumeno's page must do, for timing the click on Go to the last
// row on screen and the start-up against it: Form1's source box, result box, field and Go
// button at the page's device pixel ratio, both boxes showing the picture (picture.bmp, served
// beside this page) inside the 2 pixels of a box's border, which it leaves undrawn. Go disables
// itself, sets the busy pointer, yields if a frame is due, builds the curve's 256 outputs for the field's b, then maps the result box's
// rows through them from the source box; after every row it puts the rows mapped so far on
// the canvas and yields to the next frame whenever a frame is due, as lumeno's page does.
'use strict';

// Form1's geometry in twips: left, top, width, height.
const clientSize = [7500, 5328];
const sourceBox = [120, 120, 2292, 2532];
const resultBox = [3360, 120, 2292, 2532];
const field = [1440, 3480, 615, 375];
const goButton = [4560, 3480, 1455, 615];
const border = 2;

const ratio = devicePixelRatio;
const nearestEven = (exact) => {
  const near = Math.round(exact);
  return near - exact === 0.5 && near % 2 !== 0 ? near - 1 : near;
};
// Twips to device pixels, as lumeno lays out.
const pixels = (twips) => nearestEven((twips * ratio) / 15);
const form = document.querySelector('.form');
const [from, go, to, text] = form.children;
const place = (element, twips) => {
  const [left, top, width, height] = twips.map(pixels);
  Object.assign(element.style, {left: left / ratio + 'px', top: top / ratio + 'px',
                                width: width / ratio + 'px', height: height / ratio + 'px'});
  return [width, height];
};
form.style.width = pixels(clientSize[0]) / ratio + 'px';
form.style.height = pixels(clientSize[1]) / ratio + 'px';
place(text, field);
place(go, goButton);

// A 24-bit bottom-up BMP's top-left corner, columns x rows of it, as canvas pixels, on the
// window's background where the box is larger than the picture.
function decode(bytes, columns, rows) {
  const view = new DataView(bytes);
  const start = view.getUint32(10, true), width = view.getInt32(18, true);
  const height = view.getInt32(22, true), stride = (width * 3 + 3) & ~3;
  const image = new ImageData(columns, rows);
  const out = image.data, shown = new Uint8Array(bytes);
  out.fill(0xF0);
  for (let y = 0; y < Math.min(rows, height); ++y) {
    let at = start + (height - 1 - y) * stride, i = y * columns * 4;
    for (let x = 0; x < Math.min(columns, width); ++x, at += 3, i += 4) {
      out[i] = shown[at + 2];
      out[i + 1] = shown[at + 1];
      out[i + 2] = shown[at];
    }
  }
  for (let i = 3; i < out.length; i += 4)
    out[i] = 255;
  return image;
}

// The curve y = b*x/(b*x+1) for every component value, b as a single, in double precision,
// rounded half to even; null for a b that gives no output in 0..255.
function curveTable(textValue) {
  const b = Math.fround(Number(textValue.trim()));
  if (textValue.trim() === '' || !(b >= 0) || b === Infinity)
    return null;
  const table = new Uint8Array(256);
  for (let v = 0; v < 256; ++v) {
    const p = b * (v / 255);
    table[v] = nearestEven((p / (p + 1)) * 255);
  }
  return table;
}

let lastFrame = 0;
const nextFrame = () => new Promise((resolve) => requestAnimationFrame(() => {
  lastFrame = performance.now();
  resolve();
}));

fetch('picture.bmp').then((response) => response.arrayBuffer()).then((bytes) => {
  const boxes = [from, to].map((canvas, i) => {
    const [width, height] = place(canvas, [sourceBox, resultBox][i]);
    canvas.width = width;
    canvas.height = height;
    const image = decode(bytes, width - 2 * border, height - 2 * border);
    canvas.getContext('2d', {alpha: false}).putImageData(image, border, border);
    return image;
  });
  const [source, result] = boxes;
  const context = to.getContext('2d', {alpha: false});
  let drawnTop = 0, drawnBottom = 0;
  const paint = () => {
    if (drawnBottom > drawnTop)
      context.putImageData(result, border, border, 0, drawnTop, result.width, drawnBottom - drawnTop);
    drawnTop = drawnBottom;
  };
  // A frame is due a 60th of a second after the last; no yield at all before then.
  const frameDue = () => performance.now() - lastFrame >= 1000 / 60;
  const frame = () => {
    paint();
    return nextFrame();
  };
  go.addEventListener('click', async () => {
    go.disabled = true;
    form.classList.add('busy');
    if (frameDue())
      await frame();
    const table = curveTable(text.value);
    if (table) {
      const input = source.data, output = result.data, columns = result.width;
      drawnTop = drawnBottom = 0;
      for (let y = 0; y < result.height; ++y) {
        for (let i = y * columns * 4, end = i + columns * 4; i < end; i += 4) {
          output[i] = table[input[i]];
          output[i + 1] = table[input[i + 1]];
          output[i + 2] = table[input[i + 2]];
        }
        drawnBottom = y + 1;
        if (frameDue())
          await frame();
      }
      paint();
    }
    go.disabled = false;
    form.classList.remove('busy');
  });
});
