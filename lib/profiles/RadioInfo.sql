-- RadioInfo: the radio profile database of Tallisk.
--
-- This file is the source of truth. The build turns it into RadioInfo.db beside the library
-- (make_profile_db); the library only ever opens that file read-only. To change a profile,
-- edit the rows here and rebuild; never patch a generated RadioInfo.db by hand.
--
-- Units, as the codecs read them:
--   QVR  PllReferenceFrequency in kHz; IFRx and IFTx in kHz.
--   KM2  PllReferenceFrequency in kHz (0.1 kHz resolution: the header keeps it x 10);
--        IFRx and IFTx in units of 100 Hz (214000 = 21.4 MHz).
--   Both FreqMinHz and FreqMaxHz are the carrier frequencies the band tunes, in Hz.
--
-- Every synthesiser in both families runs from a 12.8 MHz reference oscillator; the PLL
-- reference frequency is that oscillator divided by the reference counter (12800 kHz / R).
--
-- Booleans are stored as 0 and 1.

PRAGMA foreign_keys = ON;

-- ---------------------------------------------------------------------------------------
-- QVR family
-- ---------------------------------------------------------------------------------------

-- One row per model; RadioModelCode is the model byte of the QVR header (enumModel), and
-- the rows are read in code order because the program numbers its model list that way.
-- A model text containing "UHF" makes the channel codec inject below the carrier, so the
-- texts name the band plainly.
CREATE TABLE tblRadioList (
  RadioModelCode INTEGER PRIMARY KEY CHECK (RadioModelCode BETWEEN 0 AND 254),
  RadioModel TEXT NOT NULL UNIQUE,
  NumberOfChannels INTEGER NOT NULL CHECK (NumberOfChannels IN (8, 16))
);

-- The bands (variants) of a QVR model. A radio read back is matched to its band by the
-- identification bytes of its header, so these texts are written exactly as the header
-- reader produces them ("0x" and two upper-case hex digits; 14 as "XXabXXcd", 16 as
-- "XXXXXXab", where X marks bits that are user settings) and differ between the bands of a
-- model.
--
--   0D  bit 7 synthesiser (1 = MB1504, 0 = MB1501); bit 6 prescaler (MB1504: 1 = 32/33,
--       0 = 64/65; MB1501: 1 = 64/65, 0 = 128/129); bits 5-0 the high six bits of the
--       14-bit reference counter. The header writes the low byte (0E) as 00, so the counter
--       is a multiple of 256: 1024 for 12.5 kHz, 2048 for 6.25 kHz, 2560 for 5 kHz.
--       Byte 94 is the special-radio marker, so no ordinary band may use MB1504, 64/65 and
--       2.5 kHz (which would also be 94).
--   0F  bit 7 injection side of the receive LO (1 = above the carrier, 0 = below; the header
--       reader reports a 0 as Polarity), bits 6-0 with 10: the talk-around word, the number of
--       reference steps between the receive LO and the carrier (|IF| / reference), which the
--       radio moves its synthesiser by to transmit on its receive frequency.
--   14  bits 5-4 the digital squelch decoder fitted (11 = standard DCS decoder, 01 = the
--       special-radio board, whose scrambler shares the decoder); bits 1-0 with 15: the
--       receive VCO centre in whole MHz (the centre of the band plus or minus the IF).
--   16  bits 1-0 with 17: the transmit VCO centre in whole MHz. The transmitter synthesises
--       the carrier directly (IFTx = 0), so this is the centre of the band.
--
-- IFRx carries the side of injection with its sign. The channel codec adds the IF for VHF
-- models and subtracts it for UHF models; a band whose LO sits on the other side carries
-- its IF negative, so the codec lands the LO where that band's radio has it. InjectAspect
-- is true when the LO is above the carrier.
--
-- A radio with SpecialRadio set carries 94 at 0D and its firmware runs the synthesiser as
-- 8A describes (MB1504, 64/65, reference counter 2560 = 5 kHz); the header reader reports
-- such a radio as "0x8A", so the special variant of a model is the band with 0D = "0x8A".
CREATE TABLE tblRadioBand (
  RadioModelCode INTEGER NOT NULL REFERENCES tblRadioList (RadioModelCode),
  BandOrder INTEGER NOT NULL,
  Address0x0D TEXT NOT NULL CHECK (Address0x0D GLOB '0x[0-9A-F][0-9A-F]'),
  Address0x0F TEXT NOT NULL CHECK (Address0x0F GLOB '0x[0-9A-F][0-9A-F]'),
  Address0x10 TEXT NOT NULL CHECK (Address0x10 GLOB '0x[0-9A-F][0-9A-F]'),
  Address0x14 TEXT NOT NULL CHECK (Address0x14 GLOB 'XX[01][01]XX[01][01]'),
  Address0x15 TEXT NOT NULL CHECK (Address0x15 GLOB '0x[0-9A-F][0-9A-F]'),
  Address0x16 TEXT NOT NULL CHECK (Address0x16 GLOB 'XXXXXX[01][01]'),
  Address0x17 TEXT NOT NULL CHECK (Address0x17 GLOB '0x[0-9A-F][0-9A-F]'),
  InjectAspect INTEGER NOT NULL CHECK (InjectAspect IN (0, 1)),
  PllReferenceFrequency REAL NOT NULL CHECK (PllReferenceFrequency > 0),
  "Default" INTEGER NOT NULL CHECK ("Default" IN (0, 1)),
  SynthesizerType TEXT NOT NULL CHECK (SynthesizerType IN ('MB1501', 'MB1504')),
  PrescalerSwitch TEXT NOT NULL CHECK (PrescalerSwitch IN ('32/33', '64/65', '128/129')),
  IFRx REAL NOT NULL,
  IFTx REAL NOT NULL,
  ChannelSwitchType INTEGER NOT NULL CHECK (ChannelSwitchType BETWEEN 0 AND 3),
  FreqMinHz INTEGER NOT NULL,
  FreqMaxHz INTEGER NOT NULL CHECK (FreqMaxHz > FreqMinHz),
  PRIMARY KEY (RadioModelCode, BandOrder),
  UNIQUE (RadioModelCode, Address0x0D, Address0x0F, Address0x10, Address0x14, Address0x15,
          Address0x16, Address0x17)
);

-- The bands of one model, selected with the model code as RadioCode.
CREATE VIEW qryGetInfoForRadio AS
SELECT RadioModelCode AS RadioCode, Address0x0D, Address0x0F, Address0x10, Address0x14,
       Address0x15, Address0x16, Address0x17, InjectAspect, PllReferenceFrequency, "Default",
       SynthesizerType, PrescalerSwitch, IFRx, IFTx, ChannelSwitchType, FreqMinHz, FreqMaxHz
FROM tblRadioBand
ORDER BY RadioModelCode, BandOrder;

INSERT INTO tblRadioList (RadioModelCode, RadioModel, NumberOfChannels) VALUES
  (0, 'VHF Low A 29.7-36 MHz 16 Ch', 16),
  (1, 'VHF Low B 36-42 MHz 16 Ch', 16),
  (2, 'VHF Low C 42-50 MHz 16 Ch', 16),
  (3, 'VHF Mid A 66-76 MHz 16 Ch', 16),
  (4, 'VHF Mid B 76-88 MHz 16 Ch', 16),
  (5, 'VHF High A 136-156 MHz 16 Ch', 16),
  (6, 'VHF High B 150-174 MHz 16 Ch', 16),
  (7, 'UHF Low A 403-423 MHz 16 Ch', 16),
  (8, 'UHF Low B 420-440 MHz 16 Ch', 16),
  (9, 'UHF Low C 438-458 MHz 16 Ch', 16),
  (10, 'UHF Low D 450-470 MHz 16 Ch', 16),
  (11, 'UHF High 470-512 MHz 16 Ch', 16),
  (12, 'VHF Mid A 66-76 MHz 8 Ch', 8),
  (13, 'VHF Mid B 76-88 MHz 8 Ch', 8),
  (14, 'VHF High A 136-156 MHz 8 Ch', 8),
  (15, 'VHF High B 150-174 MHz 8 Ch', 8),
  (16, 'UHF Low A 403-423 MHz 8 Ch', 8),
  (17, 'UHF Low B 420-440 MHz 8 Ch', 8),
  (18, 'UHF High 470-512 MHz 8 Ch', 8);

-- Columns of every band row below, in this order:
-- (RadioModelCode, BandOrder, Address0x0D, Address0x0F, Address0x10, Address0x14,
--  Address0x15, Address0x16, Address0x17, InjectAspect, PllReferenceFrequency, Default,
--  SynthesizerType, PrescalerSwitch, IFRx, IFTx, ChannelSwitchType, FreqMinHz, FreqMaxHz)
--
-- The 16-channel radios have a 16-position detent switch (ChannelSwitchType 3, DetEnt), the
-- 8-channel radios an 8-position coded switch (0, bits8).

-- VHF low band (models 0-2): 10.7 MHz IF, MB1504 with the 32/33 prescaler, which keeps the
-- divide ratio legal down at a 19 MHz LO. Default 5 kHz reference (counter 2560, 0D = CA),
-- a 6.25 kHz variant (counter 2048, C8) for 12.5 kHz channelling, and a low-side 5 kHz
-- variant (LO = carrier - 10.7 MHz, IFRx -10700) for sites plagued by images above the band.
-- Talk-around: 10700 / 5 = 2140 (085C), 10700 / 6.25 = 1712 (06B0).
-- Example, model 0: centre 32.85 MHz; LO centre 43.55 -> 44 (2C) high side, 22.15 -> 22
-- (16) low side; transmit centre 33 (21).
INSERT INTO tblRadioBand VALUES
  (0, 1, '0xCA', '0x88', '0x5C', 'XX11XX00', '0x2C', 'XXXXXX00', '0x21', 1, 5, 1, 'MB1504', '32/33', 10700, 0, 3, 29700000, 36000000),
  (0, 2, '0xC8', '0x86', '0xB0', 'XX11XX00', '0x2C', 'XXXXXX00', '0x21', 1, 6.25, 0, 'MB1504', '32/33', 10700, 0, 3, 29700000, 36000000),
  (0, 3, '0xCA', '0x08', '0x5C', 'XX11XX00', '0x16', 'XXXXXX00', '0x21', 0, 5, 0, 'MB1504', '32/33', -10700, 0, 3, 29700000, 36000000),
  (1, 1, '0xCA', '0x88', '0x5C', 'XX11XX00', '0x32', 'XXXXXX00', '0x27', 1, 5, 1, 'MB1504', '32/33', 10700, 0, 3, 36000000, 42000000),
  (1, 2, '0xC8', '0x86', '0xB0', 'XX11XX00', '0x32', 'XXXXXX00', '0x27', 1, 6.25, 0, 'MB1504', '32/33', 10700, 0, 3, 36000000, 42000000),
  (1, 3, '0xCA', '0x08', '0x5C', 'XX11XX00', '0x1C', 'XXXXXX00', '0x27', 0, 5, 0, 'MB1504', '32/33', -10700, 0, 3, 36000000, 42000000),
  (2, 1, '0xCA', '0x88', '0x5C', 'XX11XX00', '0x39', 'XXXXXX00', '0x2E', 1, 5, 1, 'MB1504', '32/33', 10700, 0, 3, 42000000, 50000000),
  (2, 2, '0xC8', '0x86', '0xB0', 'XX11XX00', '0x39', 'XXXXXX00', '0x2E', 1, 6.25, 0, 'MB1504', '32/33', 10700, 0, 3, 42000000, 50000000),
  (2, 3, '0xCA', '0x08', '0x5C', 'XX11XX00', '0x23', 'XXXXXX00', '0x2E', 0, 5, 0, 'MB1504', '32/33', -10700, 0, 3, 42000000, 50000000);

-- VHF mid band (models 3, 4 and their 8-channel versions 12, 13): 21.4 MHz IF, high-side LO,
-- MB1504 with 64/65. Default 12.5 kHz (counter 1024, 0D = 84), variant 6.25 kHz (2048, 88).
-- Talk-around: 21400 / 12.5 = 1712 (06B0), 21400 / 6.25 = 3424 (0D60).
-- Example, model 3: centre 71 MHz; LO centre 92.4 -> 92 (5C); transmit centre 71 (47).
INSERT INTO tblRadioBand VALUES
  (3, 1, '0x84', '0x86', '0xB0', 'XX11XX00', '0x5C', 'XXXXXX00', '0x47', 1, 12.5, 1, 'MB1504', '64/65', 21400, 0, 3, 66000000, 76000000),
  (3, 2, '0x88', '0x8D', '0x60', 'XX11XX00', '0x5C', 'XXXXXX00', '0x47', 1, 6.25, 0, 'MB1504', '64/65', 21400, 0, 3, 66000000, 76000000),
  (4, 1, '0x84', '0x86', '0xB0', 'XX11XX00', '0x67', 'XXXXXX00', '0x52', 1, 12.5, 1, 'MB1504', '64/65', 21400, 0, 3, 76000000, 88000000),
  (4, 2, '0x88', '0x8D', '0x60', 'XX11XX00', '0x67', 'XXXXXX00', '0x52', 1, 6.25, 0, 'MB1504', '64/65', 21400, 0, 3, 76000000, 88000000),
  (12, 1, '0x84', '0x86', '0xB0', 'XX11XX00', '0x5C', 'XXXXXX00', '0x47', 1, 12.5, 1, 'MB1504', '64/65', 21400, 0, 0, 66000000, 76000000),
  (12, 2, '0x88', '0x8D', '0x60', 'XX11XX00', '0x5C', 'XXXXXX00', '0x47', 1, 6.25, 0, 'MB1504', '64/65', 21400, 0, 0, 66000000, 76000000),
  (13, 1, '0x84', '0x86', '0xB0', 'XX11XX00', '0x67', 'XXXXXX00', '0x52', 1, 12.5, 1, 'MB1504', '64/65', 21400, 0, 0, 76000000, 88000000),
  (13, 2, '0x88', '0x8D', '0x60', 'XX11XX00', '0x67', 'XXXXXX00', '0x52', 1, 6.25, 0, 'MB1504', '64/65', 21400, 0, 0, 76000000, 88000000);

-- VHF high band (models 5, 6 and 14, 15): as the mid band, 21.4 MHz IF high side, MB1504
-- with 64/65, 12.5 kHz default and 6.25 kHz variant. The 16-channel radios also come as the
-- special radio (scrambler board, DCS bits 01), identified as 0D = 8A: 5 kHz reference,
-- talk-around 21400 / 5 = 4280 (10B8).
-- Example, model 5: centre 146 MHz; LO centre 167.4 -> 167 (A7); transmit centre 146 (92).
INSERT INTO tblRadioBand VALUES
  (5, 1, '0x84', '0x86', '0xB0', 'XX11XX00', '0xA7', 'XXXXXX00', '0x92', 1, 12.5, 1, 'MB1504', '64/65', 21400, 0, 3, 136000000, 156000000),
  (5, 2, '0x88', '0x8D', '0x60', 'XX11XX00', '0xA7', 'XXXXXX00', '0x92', 1, 6.25, 0, 'MB1504', '64/65', 21400, 0, 3, 136000000, 156000000),
  (5, 3, '0x8A', '0x90', '0xB8', 'XX01XX00', '0xA7', 'XXXXXX00', '0x92', 1, 5, 0, 'MB1504', '64/65', 21400, 0, 3, 136000000, 156000000),
  (6, 1, '0x84', '0x86', '0xB0', 'XX11XX00', '0xB7', 'XXXXXX00', '0xA2', 1, 12.5, 1, 'MB1504', '64/65', 21400, 0, 3, 150000000, 174000000),
  (6, 2, '0x88', '0x8D', '0x60', 'XX11XX00', '0xB7', 'XXXXXX00', '0xA2', 1, 6.25, 0, 'MB1504', '64/65', 21400, 0, 3, 150000000, 174000000),
  (6, 3, '0x8A', '0x90', '0xB8', 'XX01XX00', '0xB7', 'XXXXXX00', '0xA2', 1, 5, 0, 'MB1504', '64/65', 21400, 0, 3, 150000000, 174000000),
  (14, 1, '0x84', '0x86', '0xB0', 'XX11XX00', '0xA7', 'XXXXXX00', '0x92', 1, 12.5, 1, 'MB1504', '64/65', 21400, 0, 0, 136000000, 156000000),
  (14, 2, '0x88', '0x8D', '0x60', 'XX11XX00', '0xA7', 'XXXXXX00', '0x92', 1, 6.25, 0, 'MB1504', '64/65', 21400, 0, 0, 136000000, 156000000),
  (15, 1, '0x84', '0x86', '0xB0', 'XX11XX00', '0xB7', 'XXXXXX00', '0xA2', 1, 12.5, 1, 'MB1504', '64/65', 21400, 0, 0, 150000000, 174000000),
  (15, 2, '0x88', '0x8D', '0x60', 'XX11XX00', '0xB7', 'XXXXXX00', '0xA2', 1, 6.25, 0, 'MB1504', '64/65', 21400, 0, 0, 150000000, 174000000);

-- UHF low band (models 7-10 and 16, 17): 21.4 MHz IF with the LO below the carrier, MB1501
-- with 128/129 (0D = 04 at 12.5 kHz, 08 at 6.25 kHz). Models 7, 8 (and 16, 17) also come
-- with the LO above the carrier (IFRx -21400, 0F bit 7 set); models 9 and 10 come as the
-- special radio, whose board carries an MB1504 (0D = 8A, 5 kHz).
-- Example, model 7: centre 413 MHz; LO centre 391.6 -> 392 (188) low side, 434.4 -> 434
-- (1B2) high side; transmit centre 413 (19D).
INSERT INTO tblRadioBand VALUES
  (7, 1, '0x04', '0x06', '0xB0', 'XX11XX01', '0x88', 'XXXXXX01', '0x9D', 0, 12.5, 1, 'MB1501', '128/129', 21400, 0, 3, 403000000, 423000000),
  (7, 2, '0x08', '0x0D', '0x60', 'XX11XX01', '0x88', 'XXXXXX01', '0x9D', 0, 6.25, 0, 'MB1501', '128/129', 21400, 0, 3, 403000000, 423000000),
  (7, 3, '0x04', '0x86', '0xB0', 'XX11XX01', '0xB2', 'XXXXXX01', '0x9D', 1, 12.5, 0, 'MB1501', '128/129', -21400, 0, 3, 403000000, 423000000),
  (8, 1, '0x04', '0x06', '0xB0', 'XX11XX01', '0x99', 'XXXXXX01', '0xAE', 0, 12.5, 1, 'MB1501', '128/129', 21400, 0, 3, 420000000, 440000000),
  (8, 2, '0x08', '0x0D', '0x60', 'XX11XX01', '0x99', 'XXXXXX01', '0xAE', 0, 6.25, 0, 'MB1501', '128/129', 21400, 0, 3, 420000000, 440000000),
  (8, 3, '0x04', '0x86', '0xB0', 'XX11XX01', '0xC3', 'XXXXXX01', '0xAE', 1, 12.5, 0, 'MB1501', '128/129', -21400, 0, 3, 420000000, 440000000),
  (9, 1, '0x04', '0x06', '0xB0', 'XX11XX01', '0xAB', 'XXXXXX01', '0xC0', 0, 12.5, 1, 'MB1501', '128/129', 21400, 0, 3, 438000000, 458000000),
  (9, 2, '0x08', '0x0D', '0x60', 'XX11XX01', '0xAB', 'XXXXXX01', '0xC0', 0, 6.25, 0, 'MB1501', '128/129', 21400, 0, 3, 438000000, 458000000),
  (9, 3, '0x8A', '0x10', '0xB8', 'XX01XX01', '0xAB', 'XXXXXX01', '0xC0', 0, 5, 0, 'MB1504', '64/65', 21400, 0, 3, 438000000, 458000000),
  (10, 1, '0x04', '0x06', '0xB0', 'XX11XX01', '0xB7', 'XXXXXX01', '0xCC', 0, 12.5, 1, 'MB1501', '128/129', 21400, 0, 3, 450000000, 470000000),
  (10, 2, '0x08', '0x0D', '0x60', 'XX11XX01', '0xB7', 'XXXXXX01', '0xCC', 0, 6.25, 0, 'MB1501', '128/129', 21400, 0, 3, 450000000, 470000000),
  (10, 3, '0x8A', '0x10', '0xB8', 'XX01XX01', '0xB7', 'XXXXXX01', '0xCC', 0, 5, 0, 'MB1504', '64/65', 21400, 0, 3, 450000000, 470000000),
  (16, 1, '0x04', '0x06', '0xB0', 'XX11XX01', '0x88', 'XXXXXX01', '0x9D', 0, 12.5, 1, 'MB1501', '128/129', 21400, 0, 0, 403000000, 423000000),
  (16, 2, '0x08', '0x0D', '0x60', 'XX11XX01', '0x88', 'XXXXXX01', '0x9D', 0, 6.25, 0, 'MB1501', '128/129', 21400, 0, 0, 403000000, 423000000),
  (16, 3, '0x04', '0x86', '0xB0', 'XX11XX01', '0xB2', 'XXXXXX01', '0x9D', 1, 12.5, 0, 'MB1501', '128/129', -21400, 0, 0, 403000000, 423000000),
  (17, 1, '0x04', '0x06', '0xB0', 'XX11XX01', '0x99', 'XXXXXX01', '0xAE', 0, 12.5, 1, 'MB1501', '128/129', 21400, 0, 0, 420000000, 440000000),
  (17, 2, '0x08', '0x0D', '0x60', 'XX11XX01', '0x99', 'XXXXXX01', '0xAE', 0, 6.25, 0, 'MB1501', '128/129', 21400, 0, 0, 420000000, 440000000),
  (17, 3, '0x04', '0x86', '0xB0', 'XX11XX01', '0xC3', 'XXXXXX01', '0xAE', 1, 12.5, 0, 'MB1501', '128/129', -21400, 0, 0, 420000000, 440000000);

-- UHF high band (models 11, 18): 45 MHz IF below the carrier, which keeps the LO (425-467
-- MHz) inside the VCO range of the low-band board; MB1501 with 64/65 (0D = 44 at 12.5 kHz,
-- 48 at 6.25 kHz). Talk-around: 45000 / 12.5 = 3600 (0E10), 45000 / 6.25 = 7200 (1C20).
-- Example: centre 491 MHz; LO centre 446 (1BE); transmit centre 491 (1EB).
INSERT INTO tblRadioBand VALUES
  (11, 1, '0x44', '0x0E', '0x10', 'XX11XX01', '0xBE', 'XXXXXX01', '0xEB', 0, 12.5, 1, 'MB1501', '64/65', 45000, 0, 3, 470000000, 512000000),
  (11, 2, '0x48', '0x1C', '0x20', 'XX11XX01', '0xBE', 'XXXXXX01', '0xEB', 0, 6.25, 0, 'MB1501', '64/65', 45000, 0, 3, 470000000, 512000000),
  (18, 1, '0x44', '0x0E', '0x10', 'XX11XX01', '0xBE', 'XXXXXX01', '0xEB', 0, 12.5, 1, 'MB1501', '64/65', 45000, 0, 0, 470000000, 512000000),
  (18, 2, '0x48', '0x1C', '0x20', 'XX11XX01', '0xBE', 'XXXXXX01', '0xEB', 0, 6.25, 0, 'MB1501', '64/65', 45000, 0, 0, 470000000, 512000000);

-- QVR tone table: the 38 standard CTCSS tones. Index is the 6-bit code the tone decoder
-- takes in a channel record; code 0 is 67.0 Hz, which is also what an unused channel shows.
CREATE TABLE tblCTCSSFrequencies (
  "Index" INTEGER PRIMARY KEY CHECK ("Index" BETWEEN 0 AND 63),
  ToneFrequency REAL NOT NULL CHECK (ToneFrequency > 0)
);

INSERT INTO tblCTCSSFrequencies ("Index", ToneFrequency) VALUES
  (0, 67.0), (1, 71.9), (2, 74.4), (3, 77.0), (4, 79.7), (5, 82.5), (6, 85.4), (7, 88.5),
  (8, 91.5), (9, 94.8), (10, 97.4), (11, 100.0), (12, 103.5), (13, 107.2), (14, 110.9),
  (15, 114.8), (16, 118.8), (17, 123.0), (18, 127.3), (19, 131.8), (20, 136.5),
  (21, 141.3), (22, 146.2), (23, 151.4), (24, 156.7), (25, 162.2), (26, 167.9),
  (27, 173.8), (28, 179.9), (29, 186.2), (30, 192.8), (31, 203.5), (32, 210.7),
  (33, 218.1), (34, 225.7), (35, 233.6), (36, 241.8), (37, 250.3);

-- ---------------------------------------------------------------------------------------
-- KM2 family
-- ---------------------------------------------------------------------------------------

-- A KM2 model number reads "52-nnnfb" or "52-nnnfbD": the six characters "52-nnn" name the
-- model line (the RadioModel text starts with them), f is the feature digit (1 standard,
-- 2 deluxe display, 7 public safety), b the frequency band (a FreqBand letter below) and a
-- trailing D marks a D model. Every KM2 radio has 320 channels.
--
-- Model lines 52-11, 52-12, 52-91 and 52-92 exist in an alternate-prescaler hardware
-- revision (the programmer asks about it when it reads one). That hardware's synthesiser
-- decodes on a fixed 2.5 kHz reference and its VCO covers 436-503 MHz, so these lines are
-- UHF radios between 440 and 480 MHz on a 2.5 kHz reference: either hardware then tunes the
-- same channels. The 52-37 line is the T-band board with the inverted second-LO bit.
CREATE TABLE KM2RadioList (
  ModelCode INTEGER PRIMARY KEY CHECK (ModelCode BETWEEN 0 AND 255),
  RadioModel TEXT NOT NULL UNIQUE CHECK (length(RadioModel) >= 7)
);

-- The bands of a KM2 model, one per band letter.
--
-- Address0x1890 is the default image text of addresses 1890-189F for a new programming of
-- that band: eight 16-bit words, big-endian, as the synthesiser set-up of the radio holds
-- them.
--   1890  PLL reference frequency x 10 (2.5 kHz = 0019, 5 kHz = 0032, 12.5 kHz = 007D)
--   1892  bits 15-14 the prescaler code the channel records are laid out for (0 = plain
--         field, 1 = one 0 bit before the low six bits for the 64/65 prescaler);
--         bits 13-0 the reference counter, 12800 kHz / reference (5120 = 1400, 2560 = 0A00,
--         1024 = 0400). The header rewrites it for 12.5 and 5 kHz with these same values.
--   1894  receive IF in reference steps: IFRx x 100 Hz / reference
--   1896  lowest VCO frequency in whole MHz (rounded down): the lowest carrier, since the
--         transmitter synthesises the carrier directly
--   1898  highest VCO frequency in whole MHz (rounded up): the highest receive LO, carrier
--         plus IF (the alternate-prescaler hardware overwrites 1896/1898 with 436 and 503)
--   189A  flag bytes FF F0, as a standard general-purpose radio holds them (the header
--         writes these two bytes from the settings anyway)
--   189C  transmit IF in reference steps: IFTx x 100 Hz / reference (0: direct synthesis)
--   189E  spare, erased (FFFF)
-- Address0x18D0 is the byte 18D0 a radio of the band leaves the factory with: bits 4-2 set,
-- selective call receipt off (11), and bit 5 the side of the second receive LO (set for the
-- UHF boards, clear for VHF).
-- The LO is always above the carrier on KM2 radios (the channel codec adds the IF), so
-- every band has InjectAspect 1.
CREATE TABLE KM2RadioFeqBand (
  ModelCode INTEGER NOT NULL REFERENCES KM2RadioList (ModelCode),
  FreqBand TEXT NOT NULL CHECK (FreqBand GLOB '[A-Z]'),
  IFRx REAL NOT NULL,
  IFTx REAL NOT NULL,
  Address0x18D0 TEXT NOT NULL CHECK (Address0x18D0 GLOB '0x[0-9A-F][0-9A-F]'),
  InjectAspect INTEGER NOT NULL CHECK (InjectAspect IN (0, 1)),
  PllReferenceFrequency REAL NOT NULL CHECK (PllReferenceFrequency IN (2.5, 5, 12.5)),
  "Default" INTEGER NOT NULL CHECK ("Default" IN (0, 1)),
  Address0x1890 TEXT NOT NULL CHECK (length(Address0x1890) = 32 AND Address0x1890 NOT GLOB '*[^0-9A-F]*'),
  FreqMinHz INTEGER NOT NULL,
  FreqMaxHz INTEGER NOT NULL CHECK (FreqMaxHz > FreqMinHz),
  PRIMARY KEY (ModelCode, FreqBand)
);

-- The bands of one model, selected with the model code as RadioCode.
CREATE VIEW qryGetInfoForRadioKM2 AS
SELECT ModelCode AS RadioCode, FreqBand, IFRx, IFTx, Address0x18D0, InjectAspect,
       PllReferenceFrequency, "Default", FreqMinHz, FreqMaxHz
FROM KM2RadioFeqBand
ORDER BY ModelCode, FreqBand;

INSERT INTO KM2RadioList (ModelCode, RadioModel) VALUES
  (1, '52-111 UHF 440-480 MHz'),
  (2, '52-121 UHF 450-480 MHz'),
  (3, '52-911 UHF 440-480 MHz'),
  (4, '52-923 UHF 440-480 MHz'),
  (5, '52-371 UHF 470-512 MHz'),
  (6, '52-899 VHF 136-174 MHz'),
  (7, '52-455 VHF 29.7-50 MHz');

-- Columns of every band row below, in this order:
-- (ModelCode, FreqBand, IFRx, IFTx, Address0x18D0, InjectAspect, PllReferenceFrequency,
--  Default, Address0x1890, FreqMinHz, FreqMaxHz)

-- Alternate-prescaler lines (52-111, 52-121, 52-911, 52-923): 21.4 MHz IF (214000), 2.5 kHz
-- reference (counter 5120), 64/65 layout (1892 = 5400), IF 8560 steps (2170).
-- Example, 52-111 band A: 440-460 MHz, VCO 440 (01B8) to 460 + 21.4 = 481.4 -> 482 (01E2).
INSERT INTO KM2RadioFeqBand VALUES
  (1, 'A', 214000, 0, '0x3F', 1, 2.5, 1, '00195400217001B801E2FFF00000FFFF', 440000000, 460000000),
  (1, 'B', 214000, 0, '0x3F', 1, 2.5, 0, '00195400217001CC01F6FFF00000FFFF', 460000000, 480000000),
  (2, 'A', 214000, 0, '0x3F', 1, 2.5, 1, '00195400217001C201E7FFF00000FFFF', 450000000, 465000000),
  (2, 'B', 214000, 0, '0x3F', 1, 2.5, 0, '00195400217001D101F6FFF00000FFFF', 465000000, 480000000),
  (3, 'A', 214000, 0, '0x3F', 1, 2.5, 1, '00195400217001B801E2FFF00000FFFF', 440000000, 460000000),
  (3, 'B', 214000, 0, '0x3F', 1, 2.5, 0, '00195400217001CC01F6FFF00000FFFF', 460000000, 480000000),
  (4, 'A', 214000, 0, '0x3F', 1, 2.5, 1, '00195400217001B801ECFFF00000FFFF', 440000000, 470000000),
  (4, 'B', 214000, 0, '0x3F', 1, 2.5, 0, '00195400217001C201F6FFF00000FFFF', 450000000, 480000000);

-- 52-371, UHF T-band 470-512 MHz: 45 MHz IF (450000), 64/65 layout. Bands A and B on
-- 12.5 kHz (1892 = 4400, IF 3600 steps = 0E10), band C the whole range on 5 kHz (4A00, IF
-- 9000 steps = 2328). VCO 470 (01D6) up to 512 + 45 = 557 (022D).
INSERT INTO KM2RadioFeqBand VALUES
  (5, 'A', 450000, 0, '0x3F', 1, 12.5, 1, '007D44000E1001D60217FFF00000FFFF', 470000000, 490000000),
  (5, 'B', 450000, 0, '0x3F', 1, 12.5, 0, '007D44000E1001EA022DFFF00000FFFF', 490000000, 512000000),
  (5, 'C', 450000, 0, '0x3F', 1, 5, 0, '00324A00232801D6022DFFF00000FFFF', 470000000, 512000000);

-- 52-899, VHF high band: 21.4 MHz IF, plain layout. Bands A and B on 12.5 kHz (1892 = 0400,
-- IF 1712 steps = 06B0), band C the whole range on 5 kHz (0A00, IF 4280 steps = 10B8).
-- Example, band A: 136-156 MHz, VCO 136 (0088) to 177.4 -> 178 (00B2).
INSERT INTO KM2RadioFeqBand VALUES
  (6, 'A', 214000, 0, '0x1F', 1, 12.5, 1, '007D040006B0008800B2FFF00000FFFF', 136000000, 156000000),
  (6, 'B', 214000, 0, '0x1F', 1, 12.5, 0, '007D040006B0009600C4FFF00000FFFF', 150000000, 174000000),
  (6, 'C', 214000, 0, '0x1F', 1, 5, 0, '00320A0010B8008800C4FFF00000FFFF', 136000000, 174000000);

-- 52-455, VHF low band: 10.7 MHz IF (107000), 5 kHz (0A00, IF 2140 steps = 085C), plain
-- layout. Band A 29.7-40 MHz: VCO 29 (001D) to 50.7 -> 51 (0033).
INSERT INTO KM2RadioFeqBand VALUES
  (7, 'A', 107000, 0, '0x1F', 1, 5, 1, '00320A00085C001D0033FFF00000FFFF', 29700000, 40000000),
  (7, 'B', 107000, 0, '0x1F', 1, 5, 0, '00320A00085C0028003DFFF00000FFFF', 40000000, 50000000);

-- KM2 tone table. The standard bank holds the 38 standard tones with CTCSSCode 1, 2, 3 ...
-- in ascending frequency (hexadecimal text, so "1A" is code 26); code 0 means "no tone" in
-- the CTCSS key form. The special-radio bank holds the 12 extended tones; their CTCSSCode is
-- 100 plus the 6-bit code (1-12, ascending) that a channel record carries together with the
-- bank flag, so 101 ("65") is 69.3 Hz. Index numbers the rows in frequency order.
CREATE TABLE KM2CTCSSFrequencies (
  "Index" INTEGER PRIMARY KEY,
  ToneFrequency REAL NOT NULL CHECK (ToneFrequency > 0),
  SpecialRadio INTEGER NOT NULL CHECK (SpecialRadio IN (0, 1)),
  CTCSSCode TEXT NOT NULL CHECK (CTCSSCode NOT GLOB '*[^0-9A-F]*')
);

INSERT INTO KM2CTCSSFrequencies ("Index", ToneFrequency, SpecialRadio, CTCSSCode) VALUES
  (1, 67.0, 0, '1'), (2, 69.3, 1, '65'), (3, 71.9, 0, '2'), (4, 74.4, 0, '3'),
  (5, 77.0, 0, '4'), (6, 79.7, 0, '5'), (7, 82.5, 0, '6'), (8, 85.4, 0, '7'),
  (9, 88.5, 0, '8'), (10, 91.5, 0, '9'), (11, 94.8, 0, 'A'), (12, 97.4, 0, 'B'),
  (13, 100.0, 0, 'C'), (14, 103.5, 0, 'D'), (15, 107.2, 0, 'E'), (16, 110.9, 0, 'F'),
  (17, 114.8, 0, '10'), (18, 118.8, 0, '11'), (19, 123.0, 0, '12'), (20, 127.3, 0, '13'),
  (21, 131.8, 0, '14'), (22, 136.5, 0, '15'), (23, 141.3, 0, '16'), (24, 146.2, 0, '17'),
  (25, 151.4, 0, '18'), (26, 156.7, 0, '19'), (27, 159.8, 1, '66'), (28, 162.2, 0, '1A'),
  (29, 165.5, 1, '67'), (30, 167.9, 0, '1B'), (31, 171.3, 1, '68'), (32, 173.8, 0, '1C'),
  (33, 177.3, 1, '69'), (34, 179.9, 0, '1D'), (35, 183.5, 1, '6A'), (36, 186.2, 0, '1E'),
  (37, 189.9, 1, '6B'), (38, 192.8, 0, '1F'), (39, 196.6, 1, '6C'), (40, 199.5, 1, '6D'),
  (41, 203.5, 0, '20'), (42, 206.5, 1, '6E'), (43, 210.7, 0, '21'), (44, 218.1, 0, '22'),
  (45, 225.7, 0, '23'), (46, 229.1, 1, '6F'), (47, 233.6, 0, '24'), (48, 241.8, 0, '25'),
  (49, 250.3, 0, '26'), (50, 254.1, 1, '70');
