// The design sheet as the report form lays it out: its items at their
// places in layout units (1/96 inch, which is the CSS pixel) from the
// top-left corner of an A4 portrait page, the value items holding the
// texts the print button gives, the date and time in the browser's locale
// and the sketch unstretched in its box. printSheet() fills it and opens the
// browser's print dialog; on paper only the sheet is printed (sheet.css).

import { loadPicture } from './bitmap.js';

const band1 = 0;
const band2 = 89;

const regular = '';
const bold = 'b';
const boldUnderlined = 'bu';
const black = '#000000';
const blue = '#0000ff';
const red = '#ff0000';

// name, text (a value item's placeholder), left, top, font height, style, colour
// prettier-ignore
const items = [
    ['FolioLabel1',  'Návrh basreflexové ozvučnice',                              24, band1 +  48, 21, boldUnderlined, blue],

    ['FolioLabel12', 'ZÁKLADNÍ ÚDAJE :',                                          24, band2 +  24, 13, boldUnderlined, black],
    ['FolioLabel2',  'Rezonanční kmitočet reproduktoru -',                        24, band2 +  48, 13, regular,        black],
    ['FolioLabel21', 'Fs ',                                                      272, band2 +  48, 13, regular,        black],
    ['FolioLabel25', 'XX',                                                       304, band2 +  48, 13, bold,           black],
    ['FolioLabel3',  'Celkový činitel jakosti reproduktoru -',                    24, band2 +  72, 13, regular,        black],
    ['FolioLabel24', 'Qts',                                                      272, band2 +  72, 13, regular,        black],
    ['FolioLabel26', 'XXX',                                                      304, band2 +  72, 13, bold,           black],
    ['FolioLabel4',  'Ekvivalentní objem reproduktoru -',                         24, band2 +  96, 13, regular,        black],
    ['FolioLabel22', 'Vas',                                                      272, band2 +  96, 13, regular,        black],
    ['FolioLabel27', 'XXX',                                                      304, band2 +  96, 13, bold,           black],
    ['FolioLabel5',  'Stejnosměrný odpor cívky reproduktoru -',                   24, band2 + 120, 13, regular,        black],
    ['FolioLabel23', 'Rdc',                                                      272, band2 + 120, 13, regular,        black],
    ['FolioLabel28', 'XXX',                                                      304, band2 + 120, 13, bold,           black],
    ['FolioLabel6',  'Stejnosměrný odpor cívky tlumivky -',                       24, band2 + 144, 13, regular,        black],
    ['FolioLabel15', 'Re',                                                       272, band2 + 144, 13, regular,        black],
    ['FolioLabel29', 'XXX',                                                      304, band2 + 144, 13, bold,           black],
    ['FolioLabel7',  'DOPLŇUJÍCÍ ÚDAJE :',                                        24, band2 + 184, 13, boldUnderlined, black],
    ['FolioLabel8',  'Průřezová plocha nátrubku -',                               24, band2 + 208, 13, regular,        black],
    ['FolioLabel16', 'S',                                                        248, band2 + 208, 13, regular,        black],
    ['FolioLabel30', 'XXX',                                                      280, band2 + 208, 13, bold,           black],
    ['FolioLabel9',  'Vnitřní objem basreflexového boxu -',                       24, band2 + 232, 13, regular,        black],
    ['FolioLabel17', 'Vb',                                                       248, band2 + 232, 13, regular,        black],
    ['FolioLabel31', 'XX',                                                       280, band2 + 232, 13, bold,           black],
    ['FolioLabel10', 'VLASTNÍ VÝPOČET :',                                         24, band2 + 264, 13, boldUnderlined, black],
    ['FolioLabel11', 'Výsledná délka basreflexového nátrubku -',                  24, band2 + 288, 13, regular,        black],
    ['FolioLabel32', 'XXX',                                                      280, band2 + 288, 13, bold,           black],
    ['FolioLabel13', 'Výsledná jakost reproduktoru -',                            24, band2 + 312, 13, regular,        black],
    ['FolioLabel19', 'Qtc',                                                      248, band2 + 312, 13, regular,        black],
    ['FolioLabel33', 'XXX',                                                      280, band2 + 312, 13, bold,           black],
    ['FolioLabel14', 'Rezonanční kmitočet rezonátoru -',                          24, band2 + 336, 13, regular,        black],
    ['FolioLabel20', 'Fb',                                                       248, band2 + 336, 13, regular,        black],
    ['FolioLabel34', 'XXX',                                                      280, band2 + 336, 13, bold,           black],
    ['FolioLabel35', 'Je možné zkrátit výslednou délku nátrubku ? -',             24, band2 + 360, 13, regular,        black],
    ['FolioLabel36', 'XXX',                                                      304, band2 + 360, 13, bold,           black],
    ['FolioLabel18', 'Výpočet je orientační, skutečné naladění ověřte měřením !', 24, band2 + 432, 16, bold,           red],
];

// The date/time item keeps its box of 281 × 17 whatever its text; the
// picture's box of 120 × 217 cuts the sketch's last rows.
const dateItem = { left: 24, top: band2 + 408, width: 281, height: 17, fontHeight: 13 };
const pictureItem = { left: 464, top: band2 + 136, width: 120, height: 217 };
const datePrefix = 'Výpočet proveden : ';

// The line height of each font height: the heights the sheet was laid out
// with, which put the baseline where the desktop paints it.
const lineHeights = { 13: 15, 16: 17, 21: 23 };

let sheet = null;
let sketch = null;

function place(element, left, top) {
    element.style.left = `${left}px`;
    element.style.top = `${top}px`;
}

function text(name, content, left, top, fontHeight, style, colour) {
    const item = document.createElement('div');
    item.className = 'vb-sheet-item';
    item.dataset.name = name;
    item.textContent = content;
    place(item, left, top);
    item.style.fontSize = `${fontHeight}px`;
    item.style.lineHeight = `${lineHeights[fontHeight]}px`;
    item.style.fontWeight = style.includes('b') ? 'bold' : 'normal';
    item.style.textDecoration = style.includes('u') ? 'underline' : 'none';
    item.style.color = colour;
    return item;
}

function build() {
    sheet = document.createElement('div');
    sheet.className = 'vb-sheet';
    sheet.setAttribute('aria-hidden', 'true'); // paper only
    for (const row of items) sheet.append(text(...row));
    const date = text('FolioSysData2', datePrefix, dateItem.left, dateItem.top, dateItem.fontHeight, regular, black);
    date.classList.add('vb-sheet-date');
    date.style.width = `${dateItem.width}px`;
    date.style.height = `${dateItem.height}px`;
    sheet.append(date);

    const box = document.createElement('div');
    box.className = 'vb-sheet-picture';
    box.dataset.name = 'Image1';
    place(box, pictureItem.left, pictureItem.top);
    box.style.width = `${pictureItem.width}px`;
    box.style.height = `${pictureItem.height}px`;
    const image = document.createElement('img');
    image.alt = '';
    box.append(image);
    sheet.append(box);
    document.body.append(sheet);

    // The sketch as an image: printed more reliably than a canvas.
    sketch = loadPicture('sketch').then((canvas) => {
        image.width = canvas.width;
        image.height = canvas.height;
        image.src = canvas.toDataURL('image/png');
        return image.decode();
    });
}

// The date and time as the desktop writes them, in the browser's locale:
// its short date, a blank, then the hours as the locale writes them (with
// or without a leading zero, a 12-hour clock), its separator, minutes and
// seconds in two digits, and the AM/PM designator after the seconds. The
// date alone at midnight.
function dateTimeText(moment) {
    const date = new Intl.DateTimeFormat(undefined, { dateStyle: 'short' }).format(moment);
    if (moment.getHours() === 0 && moment.getMinutes() === 0 && moment.getSeconds() === 0) return date;
    const parts = new Intl.DateTimeFormat(undefined, { hour: 'numeric', minute: '2-digit', second: '2-digit' })
        .formatToParts(moment);
    const part = (type) => parts.find((p) => p.type === type)?.value ?? '';
    const afterHour = parts[parts.findIndex((p) => p.type === 'hour') + 1];
    const separator = afterHour?.type === 'literal' ? afterHour.value : ':';
    const time = part('hour') + separator + part('minute') + separator + part('second');
    const period = part('dayPeriod');
    return `${date} ${period ? `${time} ${period}` : time}`;
}

function dateNow() {
    sheet.querySelector('.vb-sheet-date').textContent = datePrefix + dateTimeText(new Date());
}

// Fills the sheet with `texts` (the value items' texts by their names, as
// the print button makes them) and the date and time, then opens the
// print dialog once the sketch and the fonts are ready.
export async function printSheet(texts) {
    if (!sheet) {
        build();
        // A print the user starts from the browser's menu dates the sheet too.
        window.addEventListener('beforeprint', dateNow);
    }
    for (const [name, value] of Object.entries(texts)) sheet.querySelector(`[data-name="${name}"]`).textContent = value;
    dateNow();
    await Promise.all([sketch.catch(() => {}), document.fonts.ready]); // without a sketch rather than not at all
    window.print();
}
