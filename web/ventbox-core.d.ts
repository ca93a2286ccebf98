// The calculation core compiled to WebAssembly (web/binding.cpp): every
// number and text rule the page shows. One script, ventbox-core.js, with
// the WebAssembly inside it; it defines createVentboxCore in a page and
// exports it under Node.

export type Outcome = 'ok' | 'empty' | 'not-positive' | 'overflow';
export type PortShape = 'circle' | 'rectangle' | 'square' | 'triangle';

export interface DesignResult {
  outcome: Outcome;
  // Port length, Qtc and Fb as the main window shows them; "" unless 'ok'.
  length: string;
  qtc: string;
  fb: string;
  // The design sheet's answer, "ANO" or "NE", whenever the recalculation
  // got as far as storing Qtc (also when a later step overflowed); null
  // otherwise. The window keeps the last one it was given.
  shorten: 'ANO' | 'NE' | null;
  // Which input cleared the results (0..6 in the order of the texts), for
  // 'empty' and 'not-positive'; -1 otherwise.
  field: number;
}

export interface AreaResult {
  outcome: Outcome;
  text: string; // four decimals; "" unless 'ok'
}

export interface VentboxCore {
  // The seven field texts in the order Fs, Qts, Vas, Rdc, Re, S, Vb.
  recalculate(texts: string[]): DesignResult;
  // The dimension texts (two for the rectangle, one otherwise) and the
  // count field's text as it stands.
  portArea(shape: PortShape, dimensions: string[], count: string): AreaResult;
  // The count fields: the value a text stands for, the text a field gets
  // when the focus leaves it (null: it stays), the text after the arrows
  // stepped it by delta.
  countFromText(text: string): number;
  countTextOnLeave(text: string): string | null;
  countTextStepped(text: string, delta: number): string;
  readonly countMinimum: number;
  readonly countMaximum: number;
  // The key filter of the decimal fields: may this one character be typed?
  decimalKeyPasses(character: string): boolean;
  // The error box's text for an overflow.
  readonly overflowMessage: string;
}

export default function createVentboxCore(options?: object): Promise<VentboxCore>;
